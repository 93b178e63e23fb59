// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/catalogue.h"
#include "calc/checks.h"
#include "settings/defaults.h"

#include <QObject>
#include <QStringList>

class LinkedInput;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QWidget;

// The "Acid Data" and "Batch Data" frames, alike in the main window and the Default Settings
// dialog, with the direction handlers. The panel applies settings through its own controls,
// so every setting runs the handler a user's choice would. Control names: docs/names.md.
class AcidPanel : public QObject, public titrova::settings::DefaultsTarget {
    Q_OBJECT

public:
    // Twips rectangles of the two frames; only these and the method list's width differ.
    struct Placement {
        int acidLeft, acidTop, width;
        int methodWidth;
        int batchLeft, batchTop;
    };

    AcidPanel(QWidget *parent, const Placement &at, const QStringList &batchUnits, QObject *owner);

    titrova::catalogue::Direction direction() const;
    QString method() const;
    QString taUnits() const;
    QString batchUnits() const;
    // The panel's part of a calculation's inputs.
    void fillInputs(titrova::calc::Inputs &inputs) const;

    // The built-in defaults through the handlers, as a user would set them.
    void applyBuiltInDefaults();
    // What the window shows for a setting; empty for no direction.
    QString shownText(titrova::settings::Key setting) const;

    // The share boxes and their steps together, boxes first.
    void setSharesEnabled(bool enabled);
    void showShares(const titrova::catalogue::Shares &shares);

    // Whether the field's control takes input; false for a field the panel does not hold.
    bool isEnabled(titrova::calc::Field field) const;
    // False for a field the panel does not hold.
    bool focus(titrova::calc::Field field);

    // Puts the panel's controls into the window's tab chain after `previous` (none: they open
    // it) and returns the last of them, for the window to go on from.
    QWidget *chainTabs(QWidget *previous);

    void selectDirection(titrova::catalogue::Direction d) override;
    bool selectMethod(const QString &caption) override;
    void choose(titrova::settings::Key setting, const QString &caption) override;
    void setText(titrova::settings::Key setting, const QString &text) override;

signals:
    // A direction was chosen: the result shown no longer holds.
    void additionReset();
    // The text of an input changed, typed, pasted, stepped or set by the program.
    void edited();
    // Enter in an input.
    void submitted();
    // A list's click: a change of its entry, by the user or by code, and also the user picking
    // the entry that is already chosen.
    void methodClicked();
    void taUnitsClicked();
    void batchUnitsClicked();

private:
    void optRaise_Click();
    void optLower_Click();
    QLineEdit *box(titrova::settings::Key setting) const;
    QWidget *control(titrova::calc::Field field) const;

    QRadioButton *optRaise = nullptr;
    QRadioButton *optLower = nullptr;
    QComboBox *cboMethod = nullptr;
    QComboBox *cboUnits = nullptr;
    QComboBox *cboBatchUnits = nullptr;
    QLineEdit *txtTartaric = nullptr;
    QLineEdit *txtMalic = nullptr;
    QLineEdit *txtCitric = nullptr;
    QLineEdit *txtBatchSize = nullptr;
    LinkedInput *batchSize = nullptr;
    LinkedInput *tartaric = nullptr;
    LinkedInput *malic = nullptr;
    LinkedInput *citric = nullptr;
};
