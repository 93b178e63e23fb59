// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/settingsTable.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <span>

namespace titrova::settings {

inline const QString raiseValue = QStringLiteral("raise");
inline const QString lowerValue = QStringLiteral("lower");

// How a value is written: a quoted text, a number of seven significant digits, a whole number.
enum class Kind { Text, Number, Whole };

// The eight settings, in the file's order.
enum class Key { Direction, Method, TaUnits, BatchUnits, BatchSize, Tartaric, Malic, Citric };

struct Setting {
    Key id;
    QString key;         // as the program looks it up and stores it
    const char *written; // as the file spells it
    Kind kind;
    QVariant builtIn;    // what the program starts with when the user's settings cannot be used
    QStringList choices; // a text outside these leaves its list alone; empty: any text
};

// The eight settings in the file's order, which is also the order they are applied in.
std::span<const Setting> allSettings();
const Setting &setting(Key id);

// A table holding every built-in value.
SettingsTable builtInTable();

// The batch units a settings file can hold: not hectolitres.
QStringList savedBatchUnits();

} // namespace titrova::settings
