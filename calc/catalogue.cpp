// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/catalogue.h"

#include <array>

namespace titrova::catalogue {
namespace {

const std::array<Method, 8> methodTable{{
    {QStringLiteral("Tartaric Acid"),
     true,
     false,
     FactorKind::Divisor,
     tartaricDivisor,
     {100, 0, 0}},
    {QStringLiteral("Malic Acid"), true, false, FactorKind::Divisor, malicDivisor, {0, 100, 0}},
    {QStringLiteral("Citric Acid"), true, false, FactorKind::Divisor, citricDivisor, {0, 0, 100}},
    {acidBlend, true, false, FactorKind::Blend, 0.0f, {50, 30, 20}},
    {blendWine, true, true, FactorKind::BlendWine, 0.0f, {0, 0, 0}},
    {QStringLiteral("Calcium Carbonate"), false, true, FactorKind::Factor, 0.6605f, {0, 0, 0}},
    {QStringLiteral("Potassium Carbonate"), false, true, FactorKind::Factor, 1.00396f, {0, 0, 0}},
    {QStringLiteral("Potassium Bicarbonate"), false, true, FactorKind::Factor, 0.89828f, {0, 0, 0}},
}};

const std::array<BatchUnit, 4> batchUnitTable{{
    {usGallons, 0.2642f, 0.0f},
    {QStringLiteral("Imp. Gal."), 0.22f, 0.0f},
    {QStringLiteral("Litres"), 0.0f, 1.0f},
    {hectolitres, 0.0f, 100.0f},
}};

} // namespace

std::span<const Method> methods() {
    return methodTable;
}

const Method *findMethod(QStringView caption) {
    for (const Method &m : methodTable) {
        if (m.caption == caption)
            return &m;
    }
    return nullptr;
}

QStringList methodCaptions(Direction direction) {
    // Blend Wine serves both directions and is appended first; the list sorts them anyway.
    QStringList captions{blendWine};
    for (const Method &m : methodTable) {
        if (m.kind == FactorKind::BlendWine)
            continue;
        if ((direction == Direction::Raise && m.raises) ||
            (direction == Direction::Lower && m.lowers))
            captions << m.caption;
    }
    return direction == Direction::None ? QStringList() : captions;
}

std::span<const BatchUnit> batchUnits() {
    return batchUnitTable;
}

QStringList batchUnitCaptions() {
    QStringList captions;
    for (const BatchUnit &u : batchUnitTable)
        captions << u.caption;
    return captions;
}

const BatchUnit *findBatchUnit(QStringView caption) {
    for (const BatchUnit &u : batchUnitTable) {
        if (u.caption == caption)
            return &u;
    }
    return nullptr;
}

QStringList taUnitCaptions() {
    return {taPercent, taGramsPerLitre};
}

} // namespace titrova::catalogue
