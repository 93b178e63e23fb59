// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/frmAcid.h"

#include "calc/addition.h"
#include "calc/numbers.h"
#include "settings/defaults.h"
#include "settings/settingsfile.h"
#include "ui/about/frmAbout.h"
#include "ui/about/programIcon.h"
#include "ui/main/controls.h"
#include "ui/main/desktop.h"
#include "ui/main/linkedInput.h"
#include "ui/main/modProcs.h"
#include "ui/main/singleInstance.h"
#include "ui/main/twips.h"
#include "ui/main/windowDefaults.h"
#include "ui/settings/frmOptions.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <memory>

using catalogue::Direction;
using controls::selectText;

namespace {

frmAcid *mainWindow = nullptr;

QString zeroStandard() {
    return numbers::standardFromSingle(0.0f);
}

} // namespace

frmAcid::frmAcid(QWidget *parent)
    : QMainWindow(parent) {
    mainWindow = this;
    setObjectName(QStringLiteral("frmAcid"));
    setWindowTitle(modProcs::appTitle);
    // The program sets the application's icon once; build it here only where nobody did.
    if (QApplication::windowIcon().isNull())
        setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(twips::boxFont());
    buildLayout();
    buildMenus();
    connectHandlers();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    move(twips::px(3390), twips::px(4050));
}

frmAcid::~frmAcid() {
    if (mainWindow == this)
        mainWindow = nullptr;
}

frmAcid *frmAcid::instance() {
    return mainWindow;
}

void frmAcid::buildLayout() {
    using namespace controls;
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips::px(7230), twips::px(4485));
    setCentralWidget(client);

    Picture1 = panel(client, "Picture1", 0, 0, 7215, 4455);

    Frame1 = frame(Picture1, "Frame1", QStringLiteral("Acid Data"), 120, 120, 3135, 3255);
    const AcidData acid = acidData(Frame1, 2055);
    optRaise = acid.optRaise;
    optLower = acid.optLower;
    cboMethod = acid.cboMethod;
    txtTartaric = acid.txtTartaric;
    txtMalic = acid.txtMalic;
    txtCitric = acid.txtCitric;
    cboUnits = acid.cboUnits;
    auto *vsbTartaric = acid.vsbTartaric;
    auto *vsbMalic = acid.vsbMalic;
    auto *vsbCitric = acid.vsbCitric;

    Frame3 = frame(Picture1, "Frame3", QStringLiteral("Batch Data"), 120, 3480, 3135, 855);
    label(Frame3, "Label9", QStringLiteral("Size"), 120, 360, 735, 300);
    txtBatchSize = textBox(Frame3, "txtBatchSize", QStringLiteral("23"), 600, 360, 750, 300, 10);
    txtBatchSize->setToolTip(QStringLiteral("Batch Size"));
    auto *vsbBatchSize = stepBar(Frame3, "vsbBatchSize", 1350, 360, 255, 300);
    cboBatchUnits = list(Frame3, "cboBatchUnits", 1680, 360, 1095, 315);
    for (const catalogue::BatchUnit &unit : catalogue::batchUnits())
        cboBatchUnits->addItem(unit.caption);
    cboBatchUnits->setCurrentIndex(-1);
    cboBatchUnits->setToolTip(QStringLiteral("Batch size units."));

    label(Picture1, "Label2", QStringLiteral("Existing TA"), 4080, 480, 1095, 300, true);
    txtExist = textBox(Picture1, "txtExist", QString(), 5400, 480, 735, 300);
    auto *vsbExist = stepBar(Picture1, "vsbExist", 6120, 480, 255, 300);
    lblUnit1 = label(Picture1, "lblUnit1", catalogue::taGramsPerLitre, 6480, 480, 495, 300);
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
    label(Picture1, "Label6", QStringLiteral("Required Addition"), 3600, 2400, 1695, 300);
    lblAddition = label(Picture1, "lblAddition", QString(), 3720, 2760, 1005, 300, true);
    // A palette and a plain frame rather than a style sheet: a style sheet costs start-up time.
    lblAddition->setAutoFillBackground(true);
    QPalette grey = lblAddition->palette();
    grey.setColor(QPalette::Window, QColor(224, 224, 224));
    lblAddition->setPalette(grey);
    lblAddition->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblAddition->setIndent(2);
    lblAdditionUnits = label(Picture1, "lblAdditionUnits", catalogue::grams, 4800, 2760, 2175, 300);

    cmdCalc = button(client, "cmdCalc", QStringLiteral("&Calculate"), 4320, 3720, 1815, 495);
    cmdCalc->raise();

    for (QLineEdit *share : {txtTartaric, txtMalic, txtCitric})
        share->setEnabled(false);
    for (QScrollBar *bar : {vsbTartaric, vsbMalic, vsbCitric})
        bar->setEnabled(false);

    exist = new LinkedInput(txtExist, vsbExist, LinkedInput::TenthStep, this);
    target = new LinkedInput(txtTarget, vsbTarget, LinkedInput::TenthStep, this);
    blend = new LinkedInput(txtBlend, vsbBlend, LinkedInput::TenthStep, this);
    batchSize = new LinkedInput(txtBatchSize, vsbBatchSize, LinkedInput::WholeStep, this);
    tartaric = new LinkedInput(txtTartaric, vsbTartaric, LinkedInput::Percent, this);
    malic = new LinkedInput(txtMalic, vsbMalic, LinkedInput::Percent, this);
    citric = new LinkedInput(txtCitric, vsbCitric, LinkedInput::Percent, this);

    const auto named = [this](const char *name) {
        return findChild<QWidget *>(QString::fromLatin1(name));
    };
    const std::pair<const char *, const char *> captions[] = {
        {"Label1", "cboMethod"},   {"Label5", "txtTartaric"}, {"Label7", "txtMalic"},
        {"Label8", "txtCitric"},   {"Label12", "cboUnits"},   {"Label9", "txtBatchSize"},
        {"Label2", "txtExist"},    {"Label3", "txtTarget"},   {"lblBlend", "txtBlend"},
        {"Label6", "lblAddition"},
    };
    for (const auto &[label, control] : captions)
        controls::nameAfter(qobject_cast<QLabel *>(named(label)), named(control));
    // No caption stands beside the batch units; a list's name is its entry here, so the
    // description carries what it is.
    cboBatchUnits->setAccessibleName(QStringLiteral("Batch Units"));
    cboBatchUnits->setAccessibleDescription(QStringLiteral("Batch Units"));
    for (LinkedInput *pair : {exist, target, blend, batchSize, tartaric, malic, citric})
        pair->bar()->setAccessibleName(pair->box()->accessibleName() + QStringLiteral(" step"));

    Picture1->setFocusPolicy(Qt::NoFocus);
    QWidget *order[] = {txtExist,     txtTarget,     cmdCalc,  optRaise,  optLower,
                        cboMethod,    txtTartaric,   txtMalic, txtCitric, cboUnits,
                        txtBatchSize, cboBatchUnits, txtBlend};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmAcid::buildMenus() {
    QMenuBar *bar = menuBar();
    bar->setFont(QApplication::font(bar));
    const auto menu = [&](const char *name, const QString &title) {
        QMenu *m = bar->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        m->setFont(QApplication::font(m));
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
    for (QLineEdit *box :
         {txtExist, txtTarget, txtBlend, txtBatchSize, txtTartaric, txtMalic, txtCitric})
        connect(box, &QLineEdit::textChanged, this, [] { modProcs::resetAddition(); });
    // txt*_KeyPress: the blending wine's box takes any key.
    for (QLineEdit *box : {txtExist, txtTarget, txtBatchSize, txtTartaric, txtMalic, txtCitric})
        controls::filterTyping(box);

    connect(optRaise, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optRaise_Click();
    });
    connect(optLower, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optLower_Click();
    });

    // A list's click: a change of its entry, by the user or by code, and also the user
    // picking the entry that is already chosen (which changes nothing, so only "activated"
    // tells of it).
    const auto onChoice = [this](QComboBox *list, void (frmAcid::*handler)()) {
        auto justChanged = std::make_shared<bool>(false);
        connect(list, &QComboBox::currentIndexChanged, this, [this, list, handler, justChanged] {
            *justChanged = true;
            QTimer::singleShot(0, list, [justChanged] { *justChanged = false; });
            (this->*handler)();
        });
        connect(list, &QComboBox::activated, this, [this, handler, justChanged] {
            if (!*justChanged)
                (this->*handler)();
            *justChanged = false;
        });
    };
    onChoice(cboMethod, &frmAcid::cboMethod_Click);
    onChoice(cboUnits, &frmAcid::cboUnits_Click);
    onChoice(cboBatchUnits, &frmAcid::cboBatchUnits_Click);

    connect(cmdCalc, &QPushButton::clicked, this, &frmAcid::cmdCalc_Click);
}

catalogue::Direction frmAcid::direction() const {
    if (optRaise->isChecked())
        return Direction::Raise;
    if (optLower->isChecked())
        return Direction::Lower;
    return Direction::None;
}

void frmAcid::cmdCalc_Click() {
    calcAddition();
}

QWidget *frmAcid::fieldWidget(int field) const {
    switch (calc::Field(field)) {
    case calc::Field::Exist:
        return txtExist;
    case calc::Field::Target:
        return txtTarget;
    case calc::Field::BatchSize:
        return txtBatchSize;
    case calc::Field::Method:
        return cboMethod;
    case calc::Field::Tartaric:
        return txtTartaric;
    case calc::Field::Malic:
        return txtMalic;
    case calc::Field::Citric:
        return txtCitric;
    case calc::Field::Blend:
        return txtBlend;
    }
    return txtExist;
}

void frmAcid::calcAddition() {
    calc::Inputs in;
    in.exist = txtExist->text();
    in.target = txtTarget->text();
    in.batchSize = txtBatchSize->text();
    in.tartaric = txtTartaric->text();
    in.malic = txtMalic->text();
    in.citric = txtCitric->text();
    in.blend = txtBlend->text();
    in.method = cboMethod->currentText();
    in.taUnits = cboUnits->currentText();
    in.batchUnits = cboBatchUnits->currentText();
    in.direction = direction();

    const calc::Calculation c = calc::calculate(in);
    if (c.failure) {
        modProcs::showWarning(c.failure->message, this);
        fieldWidget(int(c.failure->field))->setFocus();
        return;
    }
    if (c.addition.label)
        lblAddition->setText(*c.addition.label);
}

void frmAcid::optRaise_Click() {
    controls::fillSorted(cboMethod, catalogue::methodCaptions(Direction::Raise));
    modProcs::resetAddition();
}

void frmAcid::optLower_Click() {
    controls::fillSorted(cboMethod, catalogue::methodCaptions(Direction::Lower));
    for (QLineEdit *share : {txtTartaric, txtMalic, txtCitric})
        share->setText(QStringLiteral("0"));
    for (LinkedInput *share : {tartaric, malic, citric})
        share->box()->setEnabled(false);
    for (LinkedInput *share : {tartaric, malic, citric})
        share->bar()->setEnabled(false);
    modProcs::resetAddition();
}

void frmAcid::cboMethod_Click() {
    if (const catalogue::Method *m = catalogue::findMethod(cboMethod->currentText())) {
        const bool shares = m->kind == catalogue::FactorKind::Blend;
        const bool wine = m->kind == catalogue::FactorKind::BlendWine;
        for (LinkedInput *share : {tartaric, malic, citric})
            share->box()->setEnabled(shares);
        for (LinkedInput *share : {tartaric, malic, citric})
            share->bar()->setEnabled(shares);
        txtTartaric->setText(QString::number(m->preset.tartaric));
        txtMalic->setText(QString::number(m->preset.malic));
        txtCitric->setText(QString::number(m->preset.citric));
        txtBlend->setEnabled(wine);
        if (!wine)
            txtBlend->setText(QString());
        lblBlend->setEnabled(wine);
        lblBlendUnits->setEnabled(wine);
        blend->bar()->setEnabled(wine);
        lblAdditionUnits->setText(wine ? cboBatchUnits->currentText() + catalogue::ofWine
                                       : catalogue::grams);
    }
    modProcs::resetAddition();
}

void frmAcid::cboUnits_Click() {
    const QString units = cboUnits->currentText();
    if (units == catalogue::taGramsPerLitre || units == catalogue::taPercent) {
        for (QLabel *l : {lblUnit1, lblUnit2, lblBlendUnits})
            l->setText(units);
    }
    modProcs::resetAddition();
}

void frmAcid::cboBatchUnits_Click() {
    if (cboMethod->currentText() == catalogue::blendWine)
        lblAdditionUnits->setText(cboBatchUnits->currentText() + catalogue::ofWine);
    modProcs::resetAddition();
}

void frmAcid::Form_Load() {
    settings::settingsPath() = settings::settingsPathFor(QCoreApplication::applicationDirPath());

    if (!singleInstance::claim()) {
        modProcs::showCritical(modProcs::appTitle + QStringLiteral(" already running."), this);
        m_refused = true;
        close();
        return;
    }

    try {
        txtExist->setText(zeroStandard());
        txtTarget->setText(zeroStandard());
        lblAddition->setText(zeroStandard());
        loadDefaults();
        // A single acid is all of the addition, whatever shares the file held.
        const catalogue::Method *m = catalogue::findMethod(cboMethod->currentText());
        if (m && m->kind == catalogue::FactorKind::Divisor) {
            txtTartaric->setText(QString::number(m->preset.tartaric));
            txtMalic->setText(QString::number(m->preset.malic));
            txtCitric->setText(QString::number(m->preset.citric));
        }
    } catch (const std::exception &) {
        modProcs::showCritical(QStringLiteral("User default settings not found.\n"
                                              "Loading program defaults."),
                               this);
        applyBuiltInDefaults();
    }
}

void frmAcid::loadDefaults() {
    settings::SettingsTable &table = settings::defaultSettings();
    settings::readSettingsFile(settings::settingsPath(), table);
    WindowDefaults<frmAcid> target(*this);
    settings::applyDefaults(table, target);
}

void frmAcid::applyBuiltInDefaults() {
    optRaise->setChecked(true);
    selectText(cboMethod, settings::builtIn::method);
    selectText(cboUnits, settings::builtIn::taUnits);
    selectText(cboBatchUnits, settings::builtIn::batchUnits);
    txtBatchSize->setText(numbers::standardFromDouble(settings::builtIn::batchSize));
    txtTartaric->setText(numbers::wholeFromDouble(settings::builtIn::shares.tartaric));
    txtMalic->setText(numbers::wholeFromDouble(settings::builtIn::shares.malic));
    txtCitric->setText(numbers::wholeFromDouble(settings::builtIn::shares.citric));

    // Stored with a replacing store: a file that failed half-way may have added some keys.
    using namespace settings;
    SettingsTable &table = defaultSettings();
    table.store(key::taUnits, cboUnits->currentText());
    table.store(key::batchUnits, cboBatchUnits->currentText());
    table.store(key::batchSize, txtBatchSize->text());
    table.store(key::method, cboMethod->currentText());
    table.store(key::tartaric, txtTartaric->text());
    table.store(key::malic, txtMalic->text());
    table.store(key::citric, txtCitric->text());
    if (direction() != Direction::None)
        table.store(key::direction, direction() == Direction::Raise ? raiseValue : lowerValue);
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
    if (!m_options)
        m_options = new frmOptions(this);
    m_options->show();
    m_options->raise();
    m_options->activateWindow();
}

void frmAcid::mnuToolsCalc_Click() {
    if (!Desktop::current().startCalculator()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Calculator"),
                        QStringLiteral("Calculator not found!"), QMessageBox::Ok, this);
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
