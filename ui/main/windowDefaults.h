// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/defaults.h"
#include "ui/main/controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

// Applies the defaults table through a window's own controls, so every setting runs the
// handler a user's choice would. The main window and the dialog name their controls alike.
template <typename Window> class WindowDefaults : public settings::DefaultsTarget {
public:
    explicit WindowDefaults(Window &w)
        : w(w) {}

    void selectDirection(catalogue::Direction d) override {
        // Checking the checked button again raises no click, so the list keeps its choice.
        (d == catalogue::Direction::Raise ? w.optRaise : w.optLower)->setChecked(true);
    }
    bool selectMethod(const QString &caption) override {
        return controls::selectText(w.cboMethod, caption);
    }
    void selectTaUnits(const QString &caption) override {
        controls::selectText(w.cboUnits, caption);
    }
    void selectBatchUnits(const QString &caption) override {
        controls::selectText(w.cboBatchUnits, caption);
    }
    void setBatchSizeText(const QString &text) override { w.txtBatchSize->setText(text); }
    void setTartaricText(const QString &text) override { w.txtTartaric->setText(text); }
    void setMalicText(const QString &text) override { w.txtMalic->setText(text); }
    void setCitricText(const QString &text) override { w.txtCitric->setText(text); }

private:
    Window &w;
};
