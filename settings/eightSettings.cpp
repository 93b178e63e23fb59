// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/eightSettings.h"

#include "calc/catalogue.h"

#include <array>

namespace settings {

QStringList savedBatchUnits() {
    return {QStringLiteral("U.S. Gal."), QStringLiteral("Imp. Gal."), QStringLiteral("Litres")};
}

std::span<const Setting> allSettings() {
    // The file has always said "batchunits".
    static const std::array<Setting, 8> table = {{
        {key::direction, "r_l", Kind::Text, raiseValue, {raiseValue, lowerValue}},
        {key::method, "method", Kind::Text, catalogue::acidBlend, {}},
        {key::taUnits, "acidUnits", Kind::Text, catalogue::taGramsPerLitre,
         catalogue::taUnitCaptions()},
        {key::batchUnits, "batchunits", Kind::Text, QStringLiteral("U.S. Gal."), savedBatchUnits()},
        {key::batchSize, "batchSize", Kind::Number, 5.0, {}},
        {key::tartaric, "blend_t", Kind::Whole, 50.0, {}},
        {key::malic, "blend_m", Kind::Whole, 30.0, {}},
        {key::citric, "blend_c", Kind::Whole, 20.0, {}},
    }};
    return table;
}

SettingsTable builtInTable() {
    SettingsTable table;
    for (const Setting &s : allSettings())
        table.add(s.key, s.builtIn);
    return table;
}

} // namespace settings
