// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/frmAcid.h"

#include "calc/addition.h"
#include "calc/numbers.h"
#include "platform/singleInstance.h"
#include "settings/defaults.h"
#include "settings/eightSettings.h"
#include "settings/settingsFile.h"
#include "ui/about/frmAbout.h"
#include "ui/about/programIcon.h"
#include "ui/common/acidPanel.h"
#include "ui/common/announcer.h"
#include "ui/common/controls.h"
#include "ui/common/designedFonts.h"
#include "ui/common/desktop.h"
#include "ui/common/linkedInput.h"
#include "ui/common/modProcs.h"
#include "ui/common/onScreen.h"
#include "ui/common/textFitting.h"
#include "ui/common/twips.h"
#include "ui/settings/frmOptions.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>

using namespace titrova;

using catalogue::Direction;

namespace {

QString zeroStandard() {
    return numbers::standardFromSingle(0.0f);
}

} // namespace

frmAcid::frmAcid(const settings::SettingsFiles &settingsFiles, QWidget *parent)
    : QMainWindow(parent)
    , m_settingsFiles(settingsFiles) {
    controls::setDesignedFonts();
    setObjectName(QStringLiteral("frmAcid"));
    setWindowTitle(modProcs::appTitle);
    // The program sets the application's icon once; build it here only where nobody did.
    if (QApplication::windowIcon().isNull())
        setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildLayout();
    buildMenus();
    connectHandlers();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    move(twips::px(3390), twips::px(4050));
    onScreen::keep(this);
}

frmAcid::~frmAcid() = default;

void frmAcid::resetAddition() {
    showAddition(zeroStandard());
}

void frmAcid::showAddition(const QString &text) {
    // Every change of an input resets the result; the same text needs no fitting again.
    if (lblAddition->text() == text)
        return;
    controls::setFittedText(lblAddition, text, twips::labelFont());
}

void frmAcid::buildLayout() {
    using namespace controls;
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips::px(7230), twips::px(4485));
    setCentralWidget(client);

    Picture1 = panel(client, "Picture1", 0, 0, 7215, 4455);

    acid = new AcidPanel(Picture1, {120, 120, 3135, 2055, 120, 3480},
                         catalogue::batchUnitCaptions(), this);

    QLabel *Label2 =
        label(Picture1, "Label2", QStringLiteral("Existing TA"), 4080, 480, 1095, 300, true);
    txtExist = textBox(Picture1, "txtExist", QString(), 5400, 480, 735, 300);
    auto *vsbExist = stepBar(Picture1, "vsbExist", 6120, 480, 255, 300);
    lblUnit1 = label(Picture1, "lblUnit1", catalogue::taGramsPerLitre, 6480, 480, 495, 300);
    QLabel *Label3 =
        label(Picture1, "Label3", QStringLiteral("Target TA"), 3840, 840, 1335, 300, true);
    txtTarget = textBox(Picture1, "txtTarget", QString(), 5400, 840, 735, 300);
    auto *vsbTarget = stepBar(Picture1, "vsbTarget", 6120, 840, 255, 300);
    lblUnit2 = label(Picture1, "lblUnit2", catalogue::taGramsPerLitre, 6480, 840, 375, 300);
    lblBlend = label(Picture1, "lblBlend", QStringLiteral("Blending Wine TA"), 3480, 1200, 1695,
                     300, true);
    txtBlend = textBox(Picture1, "txtBlend", QString(), 5400, 1200, 735, 300);
    auto *vsbBlend = stepBar(Picture1, "vsbBlend", 6135, 1200, 255, 300);
    lblBlendUnits =
        label(Picture1, "lblBlendUnits", catalogue::taGramsPerLitre, 6480, 1200, 375, 300);
    QLabel *Label6 =
        label(Picture1, "Label6", QStringLiteral("Required Addition"), 3600, 2400, 1695, 300);
    lblAddition = label(Picture1, "lblAddition", QString(), 3720, 2760, 1005, 300, true);
    // A palette and a plain frame rather than a style sheet: a style sheet costs start-up time.
    lblAddition->setAutoFillBackground(true);
    QPalette grey = lblAddition->palette();
    grey.setColor(QPalette::Window, QColor(224, 224, 224));
    // A fixed background takes a fixed text colour: a dark theme's light text would vanish.
    grey.setColor(QPalette::WindowText, Qt::black);
    lblAddition->setPalette(grey);
    lblAddition->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblAddition->setIndent(2);
    // The answer can be copied into a notebook or a mail; selected by the mouse only, so that
    // Tab passes it by as before. Qt's label offers a menu for links alone.
    lblAddition->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblAddition->setContextMenuPolicy(Qt::CustomContextMenu);
    lblAdditionUnits = label(Picture1, "lblAdditionUnits", catalogue::grams, 4800, 2760, 2175, 300);

    cmdCalc = button(client, "cmdCalc", QStringLiteral("&Calculate"), 4320, 3720, 1815, 495);
    cmdCalc->raise();
    resultSpeaker = new Announcer(client);

    acid->setSharesEnabled(false);

    exist = new LinkedInput(txtExist, vsbExist, LinkedInput::TenthStep, this);
    target = new LinkedInput(txtTarget, vsbTarget, LinkedInput::TenthStep, this);
    blend = new LinkedInput(txtBlend, vsbBlend, LinkedInput::TenthStep, this);

    const std::pair<QLabel *, QWidget *> captions[] = {
        {Label2, txtExist},
        {Label3, txtTarget},
        {lblBlend, txtBlend},
        {Label6, lblAddition},
    };
    for (const auto &[caption, control] : captions)
        nameAfter(caption, control);
    for (LinkedInput *pair : {exist, target, blend})
        pair->bar()->setAccessibleName(pair->box()->accessibleName() + QStringLiteral(" step"));

    Picture1->setFocusPolicy(Qt::NoFocus);
    setTabOrder(txtExist, txtTarget);
    setTabOrder(txtTarget, cmdCalc);
    setTabOrder(acid->chainTabs(cmdCalc), txtBlend);
}

void frmAcid::buildMenus() {
    // The menus keep the system's menu font: nothing above them sets another.
    QMenuBar *bar = menuBar();
    const auto menu = [&](const char *name, const QString &title) {
        QMenu *m = bar->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    const auto item = [&](QMenu *m, const char *name, const QString &text,
                          void (frmAcid::*slot)()) {
        QAction *a = m->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    QMenu *mnuFile = menu("mnuFile", QStringLiteral("&File"));
    item(mnuFile, "mnuFileExit", QStringLiteral("Exit"), &frmAcid::mnuFileExit_Click);

    mnuEdit = menu("mnuEdit", QStringLiteral("&Edit"));
    mnuEditCut = item(mnuEdit, "mnuEditCut", QStringLiteral("Cut"), &frmAcid::mnuEditCut_Click);
    mnuEditCopy = item(mnuEdit, "mnuEditCopy", QStringLiteral("Copy"), &frmAcid::mnuEditCopy_Click);
    mnuEditPaste =
        item(mnuEdit, "mnuEditPaste", QStringLiteral("Paste"), &frmAcid::mnuEditPaste_Click);
    mnuEditCut->setEnabled(false);
    mnuEditCopy->setEnabled(false);
    connect(mnuEdit, &QMenu::aboutToShow, this, &frmAcid::mnuEdit_Click);

    QAction *mnuOptions = bar->addAction(QStringLiteral("&Options"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    connect(mnuOptions, &QAction::triggered, this, &frmAcid::mnuOptions_Click);

    QMenu *mnuTools = menu("mnuTools", QStringLiteral("&Tools"));
    item(mnuTools, "mnuToolsCalc", QStringLiteral("Calculator"), &frmAcid::mnuToolsCalc_Click);

    QMenu *mnuHelp = menu("mnuHelp", QStringLiteral("&Help"));
    item(mnuHelp, "mnuHelpManual", QStringLiteral("Titrova Manual"), &frmAcid::mnuHelpManual_Click);
    item(mnuHelp, "mnuHelpWeb", QStringLiteral("Titrova Web Page"), &frmAcid::mnuHelpWeb_Click);
    item(mnuHelp, "mnuHelpEmail", QStringLiteral("Email the Author"), &frmAcid::mnuHelpEmail_Click);
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("mnuHelpSep"));
    item(mnuHelp, "mnuHelpAbout", QStringLiteral("About Titrova"), &frmAcid::mnuHelpAbout_Click);
}

void frmAcid::connectHandlers() {
    // txt*_Change: any change of any input text, typed, pasted, stepped or set by the
    // program, puts the result back to zero.
    for (QLineEdit *box : {txtExist, txtTarget, txtBlend})
        connect(box, &QLineEdit::textChanged, this, &frmAcid::resetAddition);
    connect(acid, &AcidPanel::edited, this, &frmAcid::resetAddition);
    // txt*_KeyPress: the blending wine's box takes any key.
    for (QLineEdit *box : {txtExist, txtTarget})
        controls::filterTyping(box);
    // optRaise_Click, optLower_Click: the panel's, which reports that the result must go.
    connect(acid, &AcidPanel::additionReset, this, &frmAcid::resetAddition);
    connect(lblAddition, &QWidget::customContextMenuRequested, this,
            &frmAcid::lblAddition_ContextMenu);

    connect(acid, &AcidPanel::methodClicked, this, &frmAcid::cboMethod_Click);
    connect(acid, &AcidPanel::taUnitsClicked, this, &frmAcid::cboUnits_Click);
    connect(acid, &AcidPanel::batchUnitsClicked, this, &frmAcid::cboBatchUnits_Click);

    connect(cmdCalc, &QPushButton::clicked, this, &frmAcid::cmdCalc_Click);
    // Enter in any input calculates, as a keyboard user expects of a calculator.
    for (QLineEdit *box : {txtExist, txtTarget, txtBlend})
        connect(box, &QLineEdit::returnPressed, cmdCalc, &QPushButton::click);
    connect(acid, &AcidPanel::submitted, cmdCalc, &QPushButton::click);
}

void frmAcid::cmdCalc_Click() {
    calcAddition();
}

void frmAcid::calcAddition() {
    calc::Inputs in;
    in.exist = txtExist->text();
    in.target = txtTarget->text();
    in.blend = txtBlend->text();
    acid->fillInputs(in);

    const calc::Calculation c = calc::calculate(in);
    if (c.failure) {
        modProcs::showWarning(c.failure->message, this);
        // The panel holds every input but the three TA boxes.
        if (!acid->focus(c.failure->field))
            (c.failure->field == calc::Field::Exist    ? txtExist
             : c.failure->field == calc::Field::Target ? txtTarget
                                                       : txtBlend)
                ->setFocus();
        return;
    }
    if (c.addition.label) {
        showAddition(*c.addition.label);
        resultSpeaker->announce(lblAddition->text() + u' ' + lblAdditionUnits->text());
    }
}

void frmAcid::cboMethod_Click() {
    if (const catalogue::Method *m = catalogue::findMethod(acid->method())) {
        const bool wine = m->kind == catalogue::FactorKind::BlendWine;
        acid->setSharesEnabled(m->kind == catalogue::FactorKind::Blend);
        acid->showShares(m->preset);
        txtBlend->setEnabled(wine);
        if (!wine)
            txtBlend->setText(QString());
        lblBlend->setEnabled(wine);
        lblBlendUnits->setEnabled(wine);
        blend->bar()->setEnabled(wine);
        lblAdditionUnits->setText(wine ? acid->batchUnits() + catalogue::ofWine : catalogue::grams);
    }
    resetAddition();
}

void frmAcid::cboUnits_Click() {
    const QString units = acid->taUnits();
    if (units == catalogue::taGramsPerLitre || units == catalogue::taPercent) {
        for (QLabel *l : {lblUnit1, lblUnit2, lblBlendUnits})
            l->setText(units);
    }
    resetAddition();
}

void frmAcid::cboBatchUnits_Click() {
    if (acid->method() == catalogue::blendWine)
        lblAdditionUnits->setText(acid->batchUnits() + catalogue::ofWine);
    resetAddition();
}

void frmAcid::Form_Load() {
    if (!singleInstance::claim()) {
        modProcs::showCritical(modProcs::appTitle + QStringLiteral(" already running."), this);
        m_refused = true;
        close();
        return;
    }

    try {
        txtExist->setText(zeroStandard());
        txtTarget->setText(zeroStandard());
        showAddition(zeroStandard());
        loadDefaults();
        // A single acid is all of the addition, whatever shares the file held.
        const catalogue::Method *m = catalogue::findMethod(acid->method());
        if (m && m->kind == catalogue::FactorKind::Divisor)
            acid->showShares(m->preset);
    } catch (const std::exception &) {
        modProcs::showCritical(QStringLiteral("User default settings not found.\n"
                                              "Loading program defaults."),
                               this);
        applyBuiltInDefaults();
    }
}

void frmAcid::loadDefaults() {
    settings::SettingsTable &table = settings::defaultSettings();
    settings::readSettingsFile(m_settingsFiles.read, table);
    settings::applyDefaults(table, *acid);
}

void frmAcid::applyBuiltInDefaults() {
    acid->applyBuiltInDefaults();
    // Stored with a replacing store: a file that failed half-way may have added some keys.
    settings::SettingsTable &table = settings::defaultSettings();
    for (const settings::Setting &setting : settings::allSettings()) {
        const QString shown = acid->shownText(setting.id);
        if (setting.id != settings::Key::Direction || !shown.isEmpty())
            table.store(setting.key, shown);
    }
}

bool frmAcid::event(QEvent *event) {
    // A new application font drops the fonts of the classes; the windows keep their design.
    if (event->type() == QEvent::ApplicationFontChange)
        controls::setDesignedFonts();
    return QMainWindow::event(event);
}

void frmAcid::closeEvent(QCloseEvent *event) {
    Form_QueryUnload();
    event->accept();
}

void frmAcid::Form_QueryUnload() {
    // The dialog, the About box and any box still open go with the main window; nothing is
    // asked and nothing saved. With no window left the application ends.
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible())
            w->close();
    }
}

void frmAcid::lblAddition_ContextMenu(const QPoint &at) {
    auto *menu = new QMenu(lblAddition);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *copy = menu->addAction(QStringLiteral("&Copy"), lblAddition, [this] {
        QGuiApplication::clipboard()->setText(lblAddition->selectedText());
    });
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(lblAddition->hasSelectedText());
    menu->addAction(QStringLiteral("Select &All"), lblAddition,
                    [this] { lblAddition->setSelection(0, int(lblAddition->text().size())); });
    menu->popup(lblAddition->mapToGlobal(at));
}

void frmAcid::mnuEdit_Click() {
    const auto *box = qobject_cast<QLineEdit *>(focusWidget());
    const bool selection = box && !box->selectedText().isEmpty();
    mnuEditCut->setEnabled(selection);
    mnuEditCopy->setEnabled(selection);
}

void frmAcid::mnuEditCopy_Click() {
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    if (const auto *box = qobject_cast<QLineEdit *>(focusWidget()))
        clipboard->setText(box->selectedText());
}

void frmAcid::mnuEditCut_Click() {
    mnuEditCopy_Click();
    if (auto *box = qobject_cast<QLineEdit *>(focusWidget()))
        box->insert(QString());
}

void frmAcid::mnuEditPaste_Click() {
    // Not filtered: pasted text is checked only by Calculate.
    if (auto *box = qobject_cast<QLineEdit *>(focusWidget()))
        box->insert(QGuiApplication::clipboard()->text());
}

void frmAcid::mnuFileExit_Click() {
    close();
}

void frmAcid::mnuOptions_Click() {
    // One dialog at most: choosing Options again brings the open one to the front.
    if (!m_options) {
        auto *dialog = new frmOptions(m_settingsFiles.save, this);
        connect(dialog, &frmOptions::additionReset, this, &frmAcid::resetAddition);
        m_options = dialog;
    }
    m_options->show();
    m_options->raise();
    m_options->activateWindow();
}

void frmAcid::mnuToolsCalc_Click() {
    if (!Desktop::current().startCalculator()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Calculator"),
                        QStringLiteral("Calculator not found!"), QMessageBox::Ok, this);
        modProcs::keepSystemFont(&box);
        box.exec();
    }
}

void frmAcid::mnuHelpManual_Click() {
    Desktop::current().openUrl(links::manualPage());
}

void frmAcid::mnuHelpWeb_Click() {
    Desktop::current().openUrl(links::productPage());
}

void frmAcid::mnuHelpEmail_Click() {
    Desktop::current().openUrl(links::supportMail());
}

void frmAcid::mnuHelpAbout_Click() {
    // Application-modal without a nested event loop, so an assistive client that chose the
    // command through its action gets its answer at once; it deletes itself when closed.
    auto *box = new frmAbout(this);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}
