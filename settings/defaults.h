// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/catalogue.h"
#include "settings/eightSettings.h"
#include "settings/settingsTable.h"

#include <QLocale>
#include <QString>

namespace titrova::settings {

// A window that the saved settings are applied to. Each call sets its control as the user
// would, running the control's own handler.
class DefaultsTarget {
public:
    virtual ~DefaultsTarget() = default;
    virtual void selectDirection(titrova::catalogue::Direction d) = 0;
    // False when the method list does not hold the caption.
    virtual bool selectMethod(const QString &caption) = 0;
    // The list of a text setting (TA units, batch units).
    virtual void choose(Key setting, const QString &caption) = 0;
    // The box of a number setting (batch size, shares).
    virtual void setText(Key setting, const QString &text) = 0;
};

// Sets the window from the table: direction and method, TA units, batch units, batch size,
// the three shares, in that order. Values are compared exactly, case included; one that is
// not a choice of its list leaves the list alone. Throws SettingsError at the first missing
// key or a refused method; what was set before stays set.
void applyDefaults(const SettingsTable &table, DefaultsTarget &target,
                   const QLocale &locale = QLocale());

} // namespace titrova::settings
