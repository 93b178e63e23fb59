// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/catalogue.h"
#include "settings/defaults.h"

#include <QObject>
#include <QStringList>

class LinkedInput;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QWidget;

// The "Acid Data" and "Batch Data" frames, alike in the main window and the Default Settings
// dialog, with the direction handlers. The panel applies settings through its own controls,
// so every setting runs the handler a user's choice would.
class AcidPanel : public QObject, public settings::DefaultsTarget {
    Q_OBJECT

public:
    // Twips rectangles of the two frames; only these and the method list's width differ.
    struct Placement {
        int acidLeft, acidTop, width;
        int methodWidth;
        int batchLeft, batchTop;
    };

    AcidPanel(QWidget *parent, const Placement &at, const QStringList &batchUnits, QObject *owner);

    catalogue::Direction direction() const;
    // The built-in defaults through the handlers, as a user would set them.
    void applyBuiltInDefaults();
    // What the window shows for a setting; empty for no direction.
    QString shownText(const QString &key) const;

    void selectDirection(catalogue::Direction d) override;
    bool selectMethod(const QString &caption) override;
    void choose(const QString &key, const QString &caption) override;
    void setText(const QString &key, const QString &text) override;

    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame3 = nullptr;
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

signals:
    // A direction was chosen: the result shown no longer holds.
    void additionReset();

private:
    void optRaise_Click();
    void optLower_Click();
    QLineEdit *box(const QString &key) const;
};
