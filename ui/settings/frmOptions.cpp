// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/frmOptions.h"

#include "calc/catalogue.h"
#include "calc/numbers.h"
#include "settings/defaults.h"
#include "settings/settingsfile.h"
#include "settings/settingstable.h"
#include "ui/main/controls.h"
#include "ui/main/linkedInput.h"
#include "ui/main/modProcs.h"
#include "ui/main/twips.h"
#include "ui/main/windowDefaults.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QWindow>

using catalogue::Direction;
using controls::selectText;

namespace {

// A number goes into the table in the standard format; anything else as typed, so that the
// file's conversion refuses it and nothing half-read is written.
QString standardText(const QString &text) {
    const QString trimmed = text.trimmed();
    const auto value = numbers::toDouble(trimmed);
    return value ? numbers::standardFromDouble(*value) : trimmed;
}

} // namespace

frmOptions::frmOptions(QWidget *parent)
    : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Default Settings"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(twips::boxFont());
    buildLayout();
    connectHandlers();
    // The client area at its designed place; an explicit position also keeps QDialog from
    // centring itself over the main window.
    twips::place(this, 5160, 3360, 3795, 5625);
    setFixedSize(size());
}

void frmOptions::buildLayout() {
    using namespace controls;
    cmdOK = button(this, "cmdOK", QStringLiteral("&OK"), 2520, 5160, 1215, 400);
    cmdCancel = button(this, "cmdCancel", QStringLiteral("&Cancel"), 1080, 5160, 1215, 400);
    QFrame *Picture1 = panel(this, "Picture1", 30, 0, 3735, 5055);
    Picture1->setFocusPolicy(Qt::NoFocus);

    QGroupBox *Frame1 =
        frame(Picture1, "Frame1", QStringLiteral("Acid Data"), 360, 240, 3015, 3255);
    const AcidData acid = acidData(Frame1, 1935);
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

    QGroupBox *Frame3 =
        frame(Picture1, "Frame3", QStringLiteral("Batch Data"), 360, 3720, 3015, 855);
    label(Frame3, "Label9", QStringLiteral("Size"), 120, 360, 735, 300);
    txtBatchSize = textBox(Frame3, "txtBatchSize", QStringLiteral("23"), 600, 360, 750, 300, 10);
    txtBatchSize->setToolTip(QStringLiteral("Batch Size"));
    auto *vsbBatchSize = stepBar(Frame3, "vsbBatchSize", 1350, 360, 255, 300);
    cboBatchUnits = list(Frame3, "cboBatchUnits", 1680, 360, 1095, 315);
    // Only what the settings file can hold: no hectolitres.
    cboBatchUnits->addItems(
        {QStringLiteral("U.S. Gal."), QStringLiteral("Imp. Gal."), QStringLiteral("Litres")});
    cboBatchUnits->setCurrentIndex(-1);
    cboBatchUnits->setToolTip(QStringLiteral("Batch size units."));

    batchSize = new LinkedInput(txtBatchSize, vsbBatchSize, LinkedInput::WholeStep, this);
    tartaric = new LinkedInput(txtTartaric, vsbTartaric, LinkedInput::Percent, this);
    malic = new LinkedInput(txtMalic, vsbMalic, LinkedInput::Percent, this);
    citric = new LinkedInput(txtCitric, vsbCitric, LinkedInput::Percent, this);

    const std::pair<const char *, QWidget *> captions[] = {
        {"Label1", cboMethod}, {"Label5", txtTartaric}, {"Label7", txtMalic},
        {"Label8", txtCitric}, {"Label12", cboUnits},   {"Label9", txtBatchSize},
    };
    for (const auto &[name, control] : captions)
        controls::nameAfter(findChild<QLabel *>(QString::fromLatin1(name)), control);
    // No caption stands beside the batch units, and a list's accessible name is its entry.
    cboBatchUnits->setAccessibleName(QStringLiteral("Batch Units"));
    cboBatchUnits->setAccessibleDescription(QStringLiteral("Batch Units"));
    for (LinkedInput *pair : {batchSize, tartaric, malic, citric})
        pair->bar()->setAccessibleName(pair->box()->accessibleName() + QStringLiteral(" step"));

    QWidget *order[] = {optRaise, optLower,     cboMethod,     txtTartaric, txtMalic, txtCitric,
                        cboUnits, txtBatchSize, cboBatchUnits, cmdCancel,   cmdOK};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmOptions::connectHandlers() {
    for (QLineEdit *box : {txtBatchSize, txtTartaric, txtMalic, txtCitric})
        controls::filterTyping(box);

    connect(optRaise, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optRaise_Click();
    });
    connect(optLower, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optLower_Click();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);

    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *now) {
        if (!now || now == windowHandle())
            return;
        QWidget *other = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->windowHandle() == now)
                other = top;
        }
        m_backFromOwnBox = qobject_cast<QMessageBox *>(other) && other->parentWidget() == this;
    });
}

bool frmOptions::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate) {
        if (m_backFromOwnBox)
            m_backFromOwnBox = false;
        else
            Form_Activate();
    }
    return QDialog::event(event);
}

void frmOptions::showEvent(QShowEvent *event) {
    // Some window systems never activate a new window (a headless Wayland compositor), so
    // the dialog fills itself when shown too; each later activation still refills it.
    if (!event->spontaneous())
        Form_Activate();
    QDialog::showEvent(event);
}

void frmOptions::keyPressEvent(QKeyEvent *event) {
    // Neither button is the cancel button, so Esc must not reach QDialog's reject().
    if (event->matches(QKeySequence::Cancel))
        return;
    QDialog::keyPressEvent(event);
}

void frmOptions::Form_Activate() {
    try {
        setWindowIcon(parentWidget() ? parentWidget()->window()->windowIcon()
                                     : QApplication::windowIcon());
        WindowDefaults<frmOptions> target(*this);
        settings::applyDefaults(settings::defaultSettings(), target);
    } catch (const std::exception &) {
        // The dialog must open usable whatever the table holds; the table stays as it is.
        applyBuiltInDefaults();
    }
}

void frmOptions::applyBuiltInDefaults() {
    using namespace settings;
    optRaise->setChecked(true);
    selectText(cboMethod, builtIn::method);
    selectText(cboUnits, builtIn::taUnits);
    selectText(cboBatchUnits, builtIn::batchUnits);
    txtBatchSize->setText(numbers::standardFromDouble(builtIn::batchSize));
    txtTartaric->setText(numbers::wholeFromDouble(builtIn::shares.tartaric));
    txtMalic->setText(numbers::wholeFromDouble(builtIn::shares.malic));
    txtCitric->setText(numbers::wholeFromDouble(builtIn::shares.citric));
}

void frmOptions::optRaise_Click() {
    controls::fillSorted(cboMethod, catalogue::methodCaptions(Direction::Raise));
    modProcs::resetAddition();
}

void frmOptions::optLower_Click() {
    controls::fillSorted(cboMethod, catalogue::methodCaptions(Direction::Lower));
    for (QLineEdit *share : {txtTartaric, txtMalic, txtCitric})
        share->setText(QStringLiteral("0"));
    for (LinkedInput *share : {tartaric, malic, citric})
        share->box()->setEnabled(false);
    for (LinkedInput *share : {tartaric, malic, citric})
        share->bar()->setEnabled(false);
    modProcs::resetAddition();
}

void frmOptions::cmdOK_Click() {
    validateDefaults();
}

void frmOptions::cmdCancel_Click() {
    close();
}

void frmOptions::warn(const QString &prompt, QWidget *focus) {
    modProcs::showWarning(prompt, this);
    focus->setFocus();
}

void frmOptions::validateDefaults() {
    // Texts as they stand: a text of blanks is not empty.
    if (txtBatchSize->text().isEmpty())
        return warn(QStringLiteral("Please enter batch size."), txtBatchSize);
    if (cboMethod->currentText().isEmpty())
        return warn(QStringLiteral("Please enter method."), cboMethod);

    // The shares are checked only for the blend, the one method whose shares are saved (the
    // others store 50/30/20), so that Lower's disabled zeros never block a save. A share that
    // is no number fails the sum, with the focus on it; when the boxes are disabled the focus
    // goes to the method, the one thing the user can still change.
    if (cboMethod->currentText() == catalogue::acidBlend) {
        QLineEdit *fault = nullptr;
        float sum = 0.0f;
        for (QLineEdit *share : {txtTartaric, txtMalic, txtCitric}) {
            const auto value = numbers::toSingle(share->text());
            if (!value) {
                fault = share;
                break;
            }
            sum += *value; // single precision, (t + m) + c
        }
        if (fault || sum > 101.0f || sum < 99.0f) {
            QLineEdit *at = fault ? fault : txtTartaric;
            return warn(QStringLiteral("Acid blend components must sum to 100%"),
                        at->isEnabled() ? static_cast<QWidget *>(at) : cboMethod);
        }
    }
    saveDefaults();
}

void frmOptions::saveDefaults() {
    using namespace settings;
    try {
        SettingsTable &table = defaultSettings();
        for (const QString &k : {key::taUnits, key::batchUnits, key::batchSize, key::direction,
                                 key::method, key::tartaric, key::malic, key::citric})
            table.remove(k);
        if (optRaise->isChecked())
            table.add(key::direction, raiseValue);
        else if (optLower->isChecked())
            table.add(key::direction, lowerValue);
        const QString method = cboMethod->currentText().trimmed();
        table.add(key::method, method);
        if (method == catalogue::acidBlend) {
            table.add(key::tartaric, standardText(txtTartaric->text()));
            table.add(key::malic, standardText(txtMalic->text()));
            table.add(key::citric, standardText(txtCitric->text()));
        } else {
            // The file always carries shares; these are what a blend starts from.
            table.add(key::tartaric, QStringLiteral("50"));
            table.add(key::malic, QStringLiteral("30"));
            table.add(key::citric, QStringLiteral("20"));
        }
        table.add(key::taUnits, cboUnits->currentText().trimmed());
        table.add(key::batchUnits, cboBatchUnits->currentText().trimmed());
        table.add(key::batchSize, standardText(txtBatchSize->text()));

        // Every value is converted before the file is touched, and the writer replaces the
        // old file only with a complete new one.
        writeSettingsFile(settingsPath(), settingsFileBytes(table));
    } catch (const SettingsError &e) {
        modProcs::showCritical(QString::number(e.number()) + u'\n' + e.description(), this);
        return;
    } catch (const std::exception &e) {
        modProcs::showCritical(QStringLiteral("0\n") + QString::fromLocal8Bit(e.what()), this);
        return;
    }
    close();
}
