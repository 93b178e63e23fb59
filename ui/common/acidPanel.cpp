// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/acidPanel.h"

#include "ui/common/announcer.h"

#include "ui/common/controls.h"
#include "ui/common/linkedInput.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <memory>

using namespace titrova;

using catalogue::Direction;

AcidPanel::AcidPanel(QWidget *parent, const Placement &at, const QStringList &batchUnits,
                     QObject *owner)
    : QObject(owner) {
    using namespace controls;
    QGroupBox *f = frame(parent, "Frame1", QStringLiteral("Acid Data"), at.acidLeft, at.acidTop,
                         at.width, 3255);
    optRaise = option(f, "optRaise", QStringLiteral("Raise Acidity"), 120, 360, 1695, 300);
    optLower = option(f, "optLower", QStringLiteral("Lower Acidity"), 120, 720, 1695, 300);
    QLabel *Label1 = label(f, "Label1", QStringLiteral("Using"), 120, 1080, 735, 300);
    cboMethod = list(f, "cboMethod", 840, 1080, at.methodWidth, 315);
    QLabel *Label5 = label(f, "Label5", QStringLiteral("Tartaric"), 840, 1560, 975, 300);
    txtTartaric = textBox(f, "txtTartaric", QStringLiteral("100"), 1680, 1560, 500, 300, 3);
    QScrollBar *vsbTartaric = stepBar(f, "vsbTartaric", 2175, 1560, 255, 300);
    label(f, "Label4", QStringLiteral("%"), 2520, 1560, 375, 300);
    QLabel *Label7 = label(f, "Label7", QStringLiteral("Malic"), 840, 1920, 735, 300);
    txtMalic = textBox(f, "txtMalic", QStringLiteral("0"), 1680, 1920, 500, 300, 3);
    QScrollBar *vsbMalic = stepBar(f, "vsbMalic", 2175, 1920, 255, 300);
    label(f, "Label13", QStringLiteral("%"), 2520, 1920, 375, 300);
    QLabel *Label8 = label(f, "Label8", QStringLiteral("Citric"), 840, 2280, 615, 300);
    txtCitric = textBox(f, "txtCitric", QStringLiteral("0"), 1680, 2280, 500, 300, 3);
    QScrollBar *vsbCitric = stepBar(f, "vsbCitric", 2175, 2280, 255, 300);
    label(f, "Label14", QStringLiteral("%"), 2520, 2280, 375, 300);
    QLabel *Label12 = label(f, "Label12", QStringLiteral("TA Units"), 120, 2775, 975, 300);
    cboUnits = list(f, "cboUnits", 1080, 2760, 975, 315);
    // Filled without a choice: the first entry the list would choose meanwhile is no choice.
    {
        const QSignalBlocker quiet(cboUnits);
        cboUnits->addItems(catalogue::taUnitCaptions());
        cboUnits->setCurrentIndex(-1);
    }

    QGroupBox *Frame3 = frame(parent, "Frame3", QStringLiteral("Batch Data"), at.batchLeft,
                              at.batchTop, at.width, 855);
    QLabel *Label9 = label(Frame3, "Label9", QStringLiteral("Size"), 120, 360, 735, 300);
    txtBatchSize = textBox(Frame3, "txtBatchSize", QStringLiteral("23"), 600, 360, 750, 300, 10);
    txtBatchSize->setToolTip(QStringLiteral("Batch Size"));
    QScrollBar *vsbBatchSize = stepBar(Frame3, "vsbBatchSize", 1350, 360, 255, 300);
    cboBatchUnits = list(Frame3, "cboBatchUnits", 1680, 360, 1095, 315);
    {
        const QSignalBlocker quiet(cboBatchUnits);
        cboBatchUnits->addItems(batchUnits);
        cboBatchUnits->setCurrentIndex(-1);
    }
    cboBatchUnits->setToolTip(QStringLiteral("Batch size units."));

    batchSize = new LinkedInput(txtBatchSize, vsbBatchSize, LinkedInput::WholeStep, owner);
    tartaric = new LinkedInput(txtTartaric, vsbTartaric, LinkedInput::Percent, owner);
    malic = new LinkedInput(txtMalic, vsbMalic, LinkedInput::Percent, owner);
    citric = new LinkedInput(txtCitric, vsbCitric, LinkedInput::Percent, owner);

    const std::pair<QLabel *, QWidget *> captions[] = {
        {Label1, cboMethod}, {Label5, txtTartaric}, {Label7, txtMalic},
        {Label8, txtCitric}, {Label12, cboUnits},   {Label9, txtBatchSize},
    };
    for (const auto &[caption, control] : captions)
        nameAfter(caption, control);
    // No caption stands beside the batch units; a list's name is its entry here, so the
    // description carries what it is.
    cboBatchUnits->setAccessibleName(QStringLiteral("Batch Units"));
    cboBatchUnits->setAccessibleDescription(QStringLiteral("Batch Units"));
    for (LinkedInput *pair : {batchSize, tartaric, malic, citric})
        pair->bar()->setAccessibleName(pair->box()->accessibleName() + QStringLiteral(" step"));
    auto *announcer = new Announcer(parent);
    for (QComboBox *list : {cboMethod, cboUnits, cboBatchUnits})
        announcer->follow(list);

    for (QLineEdit *box : {txtBatchSize, txtTartaric, txtMalic, txtCitric})
        filterTyping(box);
    connect(optRaise, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optRaise_Click();
    });
    connect(optLower, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optLower_Click();
    });

    for (QLineEdit *box : {txtBatchSize, txtTartaric, txtMalic, txtCitric}) {
        connect(box, &QLineEdit::textChanged, this, &AcidPanel::edited);
        connect(box, &QLineEdit::returnPressed, this, &AcidPanel::submitted);
    }
    // Choosing the chosen entry changes nothing, so only "activated" tells of it; a change
    // raises both, and must count once.
    const auto onChoice = [this](QComboBox *list, void (AcidPanel::*clicked)()) {
        auto justChanged = std::make_shared<bool>(false);
        connect(list, &QComboBox::currentIndexChanged, this, [this, list, clicked, justChanged] {
            *justChanged = true;
            QTimer::singleShot(0, list, [justChanged] { *justChanged = false; });
            emit(this->*clicked)();
        });
        connect(list, &QComboBox::activated, this, [this, clicked, justChanged] {
            if (!*justChanged)
                emit(this->*clicked)();
            *justChanged = false;
        });
    };
    onChoice(cboMethod, &AcidPanel::methodClicked);
    onChoice(cboUnits, &AcidPanel::taUnitsClicked);
    onChoice(cboBatchUnits, &AcidPanel::batchUnitsClicked);
}

catalogue::Direction AcidPanel::direction() const {
    if (optRaise->isChecked())
        return Direction::Raise;
    if (optLower->isChecked())
        return Direction::Lower;
    return Direction::None;
}

QString AcidPanel::method() const {
    return cboMethod->currentText();
}

QString AcidPanel::taUnits() const {
    return cboUnits->currentText();
}

QString AcidPanel::batchUnits() const {
    return cboBatchUnits->currentText();
}

void AcidPanel::fillInputs(calc::Inputs &in) const {
    in.batchSize = txtBatchSize->text();
    in.tartaric = txtTartaric->text();
    in.malic = txtMalic->text();
    in.citric = txtCitric->text();
    in.method = method();
    in.taUnits = taUnits();
    in.batchUnits = batchUnits();
    in.direction = direction();
}

void AcidPanel::setSharesEnabled(bool enabled) {
    for (LinkedInput *share : {tartaric, malic, citric})
        share->box()->setEnabled(enabled);
    for (LinkedInput *share : {tartaric, malic, citric})
        share->bar()->setEnabled(enabled);
}

void AcidPanel::showShares(const catalogue::Shares &shares) {
    txtTartaric->setText(QString::number(shares.tartaric));
    txtMalic->setText(QString::number(shares.malic));
    txtCitric->setText(QString::number(shares.citric));
}

QWidget *AcidPanel::control(calc::Field field) const {
    switch (field) {
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
    case calc::Field::Exist:
    case calc::Field::Target:
    case calc::Field::Blend:
        break;
    }
    return nullptr;
}

bool AcidPanel::isEnabled(calc::Field field) const {
    const QWidget *c = control(field);
    return c && c->isEnabled();
}

bool AcidPanel::focus(calc::Field field) {
    QWidget *c = control(field);
    if (c)
        c->setFocus();
    return c;
}

QWidget *AcidPanel::chainTabs(QWidget *previous) {
    for (QWidget *next :
         std::initializer_list<QWidget *>{optRaise, optLower, cboMethod, txtTartaric, txtMalic,
                                          txtCitric, cboUnits, txtBatchSize, cboBatchUnits}) {
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
    return previous;
}

void AcidPanel::optRaise_Click() {
    controls::fillSorted(cboMethod, catalogue::methodCaptions(Direction::Raise));
    emit additionReset();
}

void AcidPanel::optLower_Click() {
    controls::fillSorted(cboMethod, catalogue::methodCaptions(Direction::Lower));
    showShares({0, 0, 0});
    setSharesEnabled(false);
    emit additionReset();
}

void AcidPanel::applyBuiltInDefaults() {
    // The built-in values are all choices of the lists, so this never throws.
    settings::applyDefaults(settings::builtInTable(), *this);
}

QLineEdit *AcidPanel::box(settings::Key setting) const {
    using settings::Key;
    switch (setting) {
    case Key::BatchSize:
        return txtBatchSize;
    case Key::Tartaric:
        return txtTartaric;
    case Key::Malic:
        return txtMalic;
    case Key::Citric:
        return txtCitric;
    case Key::Direction:
    case Key::Method:
    case Key::TaUnits:
    case Key::BatchUnits:
        break;
    }
    return nullptr;
}

QString AcidPanel::shownText(settings::Key setting) const {
    using settings::Key;
    switch (setting) {
    case Key::Direction: {
        const Direction d = direction();
        return d == Direction::None    ? QString()
               : d == Direction::Raise ? settings::raiseValue
                                       : settings::lowerValue;
    }
    case Key::Method:
        return method();
    case Key::TaUnits:
        return taUnits();
    case Key::BatchUnits:
        return batchUnits();
    case Key::BatchSize:
    case Key::Tartaric:
    case Key::Malic:
    case Key::Citric:
        break;
    }
    return box(setting)->text();
}

void AcidPanel::selectDirection(catalogue::Direction d) {
    // Checking the checked button again raises no click, so the list keeps its choice.
    (d == Direction::Raise ? optRaise : optLower)->setChecked(true);
}

bool AcidPanel::selectMethod(const QString &caption) {
    return controls::selectText(cboMethod, caption);
}

void AcidPanel::choose(settings::Key setting, const QString &caption) {
    controls::selectText(setting == settings::Key::TaUnits ? cboUnits : cboBatchUnits, caption);
}

void AcidPanel::setText(settings::Key setting, const QString &text) {
    box(setting)->setText(text);
}
