// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

class QWidget;

// Procedures shared by the main window and the Default Settings dialog.
namespace titrova::modProcs {

inline const QString appTitle = QStringLiteral("Titrova");

// The key filter of the numeric boxes: leaves control characters (codes 0 to 26) and
// "0123456789.," alone and sets every other code to 0, which cancels the key.
void filterKey(std::uint16_t &keyAscii);

// Gives a message box the system's font: the designed fonts of labels and buttons are for
// the program's own windows.
void keepSystemFont(QWidget *box);

// A modal warning box with one OK button, captioned with the application title.
void showWarning(const QString &prompt, QWidget *parent = nullptr);

// A modal critical-error box with one OK button, captioned with the application title.
void showCritical(const QString &prompt, QWidget *parent = nullptr);

} // namespace titrova::modProcs
