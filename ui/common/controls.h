// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;

// Factories for the controls of the fixed-layout windows: each places the control at its
// designed twips position and names it. The designed fonts come from setDesignedFonts
// (designedFonts.h).
namespace titrova::controls {

QFrame *panel(QWidget *parent, const char *name, int l, int t, int w, int h);
QGroupBox *frame(QWidget *parent, const char *name, const QString &caption, int l, int t, int w,
                 int h);
QLabel *label(QWidget *parent, const char *name, const QString &caption, int l, int t, int w, int h,
              bool rightAligned = false);
QRadioButton *option(QWidget *parent, const char *name, const QString &caption, int l, int t, int w,
                     int h);
QPushButton *button(QWidget *parent, const char *name, const QString &caption, int l, int t, int w,
                    int h);
QComboBox *list(QWidget *parent, const char *name, int l, int t, int w, int h);
// maxLength 0: no limit. The limit applies to what the user types or pastes, never to text
// set by the program (a saved 1,234,567.00 must not be cut to ten characters).
QLineEdit *textBox(QWidget *parent, const char *name, const QString &text, int l, int t, int w,
                   int h, int maxLength = 0);
// A step control: range -1 to 1, resting at 0, no tab stop.
QScrollBar *stepBar(QWidget *parent, const char *name, int l, int t, int w, int h);

// Makes the label the control's buddy and its caption the control's accessible name, so a
// screen reader speaks "Existing TA" for the box beside that caption. A label that shows a
// value (the result) is only related to its caption: its name is the value.
void nameAfter(QLabel *label, QWidget *control);

// Passes every typed character of the box through titrova::modProcs::filterKey.
void filterTyping(QLineEdit *box);

// Refills a list without raising its selection handler, sorted, with nothing selected.
void fillSorted(QComboBox *list, const QStringList &entries);
// Makes an entry the list's choice by its exact text; false when the list does not hold it.
// Choosing runs the list's selection handler as a user's choice would.
bool selectText(QComboBox *list, const QString &text);

} // namespace titrova::controls
