// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/checks.h"
#include "settings/location.h"

#include <QDialog>

class AcidPanel;
class QPushButton;
class QWidget;

// The Default Settings dialog. Modeless and self-deleting on close, so each opening builds it
// afresh; every time the user comes to it from another window of the program it refills itself
// from the defaults table, dropping unsaved edits. OK checks, saves the table and the settings
// file, and closes; Cancel and the close box close without saving. Control names:
// docs/names.md.
class frmOptions : public QDialog {
    Q_OBJECT

public:
    // settingsPath: the file OK writes.
    explicit frmOptions(const titrova::settings::Location &settingsPath, QWidget *parent = nullptr);

signals:
    // A direction was chosen: the main window's result no longer holds.
    void additionReset();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildLayout();
    void connectHandlers();

    void Form_Activate();
    void cmdOK_Click();
    void cmdCancel_Click();

    void validateDefaults();
    void saveDefaults();
    void warn(const QString &prompt, titrova::calc::Field focus);

    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    AcidPanel *acid = nullptr;
    const titrova::settings::Location m_settingsPath;

    // Set when the dialog last lost the focus to one of its own message boxes: coming back
    // from such a box is no return from another window, and must not wipe the edit that the
    // box asked the user to correct.
    bool m_backFromOwnBox = false;
    // Shown and not hidden since: a further show event is no new showing.
    bool m_shown = false;
};
