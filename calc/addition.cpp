// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/addition.h"

#include "calc/readings.h"

#include <cmath>

namespace titrova::calc {

using numbers::storeSingle;

Addition computeAddition(const Inputs &inputs) {
    Readings readings(inputs);
    return computeAddition(readings);
}

Addition computeAddition(Readings &readings) {
    const Inputs &in = readings.inputs();
    const QLocale &locale = readings.locale();
    const auto read = [&](Field field, float &out) {
        if (const auto v = readings.single(field))
            out = *v;
    };
    const auto readShare = [&](Field field, float &out) {
        if (const auto v = readings.single(field))
            storeSingle(double(*v) / 100.0, out);
    };

    float e = 0, t = 0, v = 0, pt = 0, pm = 0, pc = 0, b = 0, d = 0, f = 0, r = 0;
    read(Field::Exist, e);
    read(Field::Target, t);
    read(Field::BatchSize, v);
    const bool acidBlend = in.method == catalogue::acidBlend;
    const bool blendWine = in.method == catalogue::blendWine;
    if (acidBlend) {
        readShare(Field::Tartaric, pt);
        readShare(Field::Malic, pm);
        readShare(Field::Citric, pc);
    }
    if (blendWine)
        read(Field::Blend, b);

    const catalogue::BatchUnit *unit = catalogue::findBatchUnit(in.batchUnits);
    if (unit) {
        if (unit->perLitre != 0.0f)
            storeSingle(double(v) / double(unit->perLitre), v);
        else
            storeSingle(double(v) * double(unit->litresPer), v);
    }

    storeSingle(std::fabs(double(t) - double(e)), d);

    if (const catalogue::Method *method = catalogue::findMethod(in.method)) {
        using catalogue::FactorKind;
        switch (method->kind) {
        case FactorKind::Divisor:
            storeSingle(1.0 / double(method->value), f);
            break;
        case FactorKind::Factor:
            f = method->value;
            break;
        case FactorKind::Blend:
            // Not normalised: shares summing to 101 give a 1 % larger factor.
            storeSingle(double(pt) / double(catalogue::tartaricDivisor) +
                            double(pm) / double(catalogue::malicDivisor) +
                            double(pc) / double(catalogue::citricDivisor),
                        f);
            break;
        case FactorKind::BlendWine:
            break;
        }
        // b equals t only when no direction was chosen (the checks refuse it otherwise);
        // the step is then abandoned like any other invalid operation.
        if (method->kind == FactorKind::BlendWine && b != t)
            storeSingle(std::fabs(double(d) / (double(b) - double(t)) * double(v)), r);
        else if (method->kind != FactorKind::BlendWine)
            storeSingle(double(d) * double(f) * double(v), r);
    }

    if (blendWine && unit) {
        if (unit->perLitre != 0.0f)
            storeSingle(double(r) * double(unit->perLitre), r);
        else
            storeSingle(double(r) / double(unit->litresPer), r);
    }

    Addition out;
    out.result = r;
    if (blendWine || in.taUnits == catalogue::taGramsPerLitre) {
        out.label = numbers::standardFromSingle(r, locale);
    } else if (in.taUnits == catalogue::taPercent) {
        // A TA in percent is grams per 100 mL: the difference times litres is a tenth of
        // the grams.
        float grams = 0;
        if (storeSingle(double(r) * 10.0, grams)) {
            out.result = grams;
            out.label = numbers::standardFromSingle(grams, locale);
        }
    }
    return out;
}

Calculation calculate(const Inputs &inputs) {
    Readings readings(inputs);
    Calculation c;
    c.failure = checkInputs(readings);
    if (!c.failure)
        c.addition = computeAddition(readings);
    return c;
}

} // namespace titrova::calc
