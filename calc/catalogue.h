// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <span>

// The calculator's vocabulary. Captions are identifiers: the lists show them, the checks
// and the arithmetic compare them exactly, the settings file stores them.
namespace titrova::catalogue {

enum class Direction { None, Raise, Lower };

// How a method's factor is formed.
enum class FactorKind {
    Divisor,  // grams of acid: 1 / divisor
    Factor,   // grams of salt: the factor itself
    Blend,    // the three acids' divisors weighted by the blend's shares
    BlendWine // no factor: the volume follows from the acidity balance
};

struct Shares {
    int tartaric;
    int malic;
    int citric;
};

struct Method {
    QString caption;
    bool raises;
    bool lowers;
    FactorKind kind;
    float value;   // divisor or factor, as the single-precision constant it is
    Shares preset; // what choosing the method puts in the three share boxes
};

struct BatchUnit {
    QString caption;
    // A batch unit is either a number of units per litre (gallons) or of litres per unit
    // (hectolitres); conversion divides or multiplies by it accordingly.
    float perLitre;
    float litresPer;
};

// Every method, in the order the selection handler compares captions.
std::span<const Method> methods();
// nullptr when the caption names no method.
const Method *findMethod(QStringView caption);
// The captions offered for a direction, in the order they are appended to the list.
QStringList methodCaptions(Direction direction);

std::span<const BatchUnit> batchUnits();
// Every batch unit's caption, in the list's order.
QStringList batchUnitCaptions();
inline const QString usGallons = QStringLiteral("U.S. Gal.");
inline const QString hectolitres = QStringLiteral("Hectolitres");
// nullptr for a caption that is no batch unit: the arithmetic then takes litres.
const BatchUnit *findBatchUnit(QStringView caption);

inline const QString taGramsPerLitre = QStringLiteral("g/L");
inline const QString taPercent = QStringLiteral("%");
QStringList taUnitCaptions();

inline const QString acidBlend = QStringLiteral("Acid Blend");
inline const QString blendWine = QStringLiteral("Blend Wine");
inline const QString grams = QStringLiteral("grams");
inline const QString ofWine = QStringLiteral(" of wine");

// The shares' divisors, shared by the single acids and the blend.
inline constexpr float tartaricDivisor = 1.0f;
inline constexpr float malicDivisor = 1.1166f;
inline constexpr float citricDivisor = 1.0722f;

} // namespace titrova::catalogue
