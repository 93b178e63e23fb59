// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/catalogue.h"
#include "settings/location.h"

#include <QMainWindow>
#include <QPointer>

class LinkedInput;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class AcidPanel;

// The main window: every input, the result, the menus. Handlers carry the names of the
// control and event they serve; a change made in code raises them as a user's change does,
// nested inside the statement that made it, which start-up and the method presets rely on.
// The control and handler names are the design's; docs/names.md explains them.
class frmAcid : public QMainWindow {
    Q_OBJECT

public:
    // settingsFiles: the settings file that start-up reads and the one the dialog writes.
    explicit frmAcid(const titrova::settings::SettingsFiles &settingsFiles,
                     QWidget *parent = nullptr);
    ~frmAcid() override;

    // Start-up: settings path, single-instance rule, initial texts, the user's defaults or
    // the built-in ones. Call once, before the window is first shown.
    void Form_Load();
    // True when Form_Load found another copy running; the program should then end.
    bool refusedToRun() const { return m_refused; }

    // Reads settings.cfg into the defaults table and applies it through the handlers.
    // Throws titrova::settings::SettingsError on the first failure.
    void loadDefaults();

    // Puts the result back to zero: any change of the inputs, here or in the dialog.
    void resetAddition();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void buildMenus();
    void connectHandlers();
    void applyBuiltInDefaults();

    void cmdCalc_Click();
    void calcAddition();
    void showAddition(const QString &text);
    void cboMethod_Click();
    void cboUnits_Click();
    void cboBatchUnits_Click();
    void Form_QueryUnload();

    void lblAddition_ContextMenu(const QPoint &at);
    void mnuEdit_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuFileExit_Click();
    void mnuOptions_Click();
    void mnuToolsCalc_Click();
    void mnuHelpManual_Click();
    void mnuHelpWeb_Click();
    void mnuHelpEmail_Click();
    void mnuHelpAbout_Click();

    QFrame *Picture1 = nullptr;
    QPushButton *cmdCalc = nullptr;
    AcidPanel *acid = nullptr;
    QLineEdit *txtExist = nullptr;
    QLineEdit *txtTarget = nullptr;
    QLineEdit *txtBlend = nullptr;
    QLabel *lblUnit1 = nullptr;
    QLabel *lblUnit2 = nullptr;
    QLabel *lblBlend = nullptr;
    QLabel *lblBlendUnits = nullptr;
    QLabel *lblAddition = nullptr;
    // Speaks the result with its unit after Calculate: a label's new text goes unspoken.
    class Announcer *resultSpeaker = nullptr;
    QLabel *lblAdditionUnits = nullptr;
    LinkedInput *exist = nullptr;
    LinkedInput *target = nullptr;
    LinkedInput *blend = nullptr;

    QMenu *mnuEdit = nullptr;
    QAction *mnuEditCut = nullptr;
    QAction *mnuEditCopy = nullptr;
    QAction *mnuEditPaste = nullptr;

    const titrova::settings::SettingsFiles m_settingsFiles;
    QPointer<QWidget> m_options; // the Default Settings dialog, while it exists
    bool m_refused = false;
};
