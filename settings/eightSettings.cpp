// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/eightSettings.h"

#include "calc/catalogue.h"

#include <array>

namespace titrova::settings {

QStringList savedBatchUnits() {
    QStringList units = catalogue::batchUnitCaptions();
    units.removeAll(catalogue::hectolitres);
    return units;
}

std::span<const Setting> allSettings() {
    // The file has always said "batchunits", and the table is matched without letter case.
    static const std::array<Setting, 8> table = {{
        {Key::Direction,
         QStringLiteral("r_l"),
         "r_l",
         Kind::Text,
         raiseValue,
         {raiseValue, lowerValue}},
        {Key::Method, QStringLiteral("method"), "method", Kind::Text, catalogue::acidBlend, {}},
        {Key::TaUnits, QStringLiteral("acidUnits"), "acidUnits", Kind::Text,
         catalogue::taGramsPerLitre, catalogue::taUnitCaptions()},
        {Key::BatchUnits, QStringLiteral("batchUnits"), "batchunits", Kind::Text,
         catalogue::usGallons, savedBatchUnits()},
        {Key::BatchSize, QStringLiteral("batchSize"), "batchSize", Kind::Number, 5.0, {}},
        {Key::Tartaric, QStringLiteral("blend_t"), "blend_t", Kind::Whole, 50.0, {}},
        {Key::Malic, QStringLiteral("blend_m"), "blend_m", Kind::Whole, 30.0, {}},
        {Key::Citric, QStringLiteral("blend_c"), "blend_c", Kind::Whole, 20.0, {}},
    }};
    return table;
}

const Setting &setting(Key id) {
    // The table is in the enum's order.
    const Setting &s = allSettings()[size_t(id)];
    Q_ASSERT(s.id == id);
    return s;
}

SettingsTable builtInTable() {
    SettingsTable table;
    for (const Setting &s : allSettings())
        table.add(s.key, s.builtIn);
    return table;
}

} // namespace titrova::settings
