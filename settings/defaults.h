// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/catalogue.h"
#include "settings/settingstable.h"

#include <QLocale>
#include <QString>

namespace settings {

inline const QString raiseValue = QStringLiteral("raise");
inline const QString lowerValue = QStringLiteral("lower");

// What the program starts with when the user's settings cannot be used.
namespace builtIn {
inline constexpr catalogue::Direction direction = catalogue::Direction::Raise;
inline const QString method = QStringLiteral("Acid Blend");
inline const QString taUnits = QStringLiteral("g/L");
inline const QString batchUnits = QStringLiteral("U.S. Gal.");
inline constexpr double batchSize = 5;
inline constexpr catalogue::Shares shares{50, 30, 20};
} // namespace builtIn

// A window that the saved settings are applied to. Each call sets its control as the user
// would, running the control's own handler.
class DefaultsTarget {
public:
    virtual ~DefaultsTarget() = default;
    virtual void selectDirection(catalogue::Direction d) = 0;
    // False when the method list does not hold the caption.
    virtual bool selectMethod(const QString &caption) = 0;
    virtual void selectTaUnits(const QString &caption) = 0;
    virtual void selectBatchUnits(const QString &caption) = 0;
    virtual void setBatchSizeText(const QString &text) = 0;
    virtual void setTartaricText(const QString &text) = 0;
    virtual void setMalicText(const QString &text) = 0;
    virtual void setCitricText(const QString &text) = 0;
};

// Sets the window from the table: direction and method, TA units, batch units, batch size,
// the three shares, in that order. Values are compared exactly, case included; one that is
// not a choice of its list leaves the list alone. Throws SettingsError at the first missing
// key or a refused method; what was set before stays set.
void applyDefaults(const SettingsTable &table, DefaultsTarget &target,
                   const QLocale &locale = QLocale());

} // namespace settings
