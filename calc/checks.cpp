// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/checks.h"

#include "calc/readings.h"

#include <array>

namespace titrova::calc {
namespace {

using catalogue::Direction;

enum class When { Always, Raise, Lower, AcidBlend, BlendWine, BlendWineRaise, BlendWineLower };

enum class Test {
    Empty,
    NotNumeric,
    NotAboveZero,
    OutsidePercent,
    SharesSum,
    NotAboveExisting,
    NotBelowExisting,
    NotAboveTarget,
    NotBelowTarget,
};

struct Check {
    When when;
    Field field;
    Test test;
    const char16_t *message;
};

// clang-format off
constexpr std::array<Check, 28> checks{{
    {When::Always, Field::Exist, Test::Empty, u"Please enter existing TA."},
    {When::Always, Field::Exist, Test::NotNumeric, u"Existing TA must be numeric."},
    {When::Always, Field::Exist, Test::NotAboveZero, u"Existing TA must be greater than zero."},
    {When::Always, Field::Target, Test::Empty, u"Please enter target TA."},
    {When::Always, Field::Target, Test::NotNumeric, u"Target TA must be numeric."},
    {When::Always, Field::Target, Test::NotAboveZero, u"Target TA must be greater than zero."},
    {When::Always, Field::BatchSize, Test::Empty, u"Please enter batch size."},
    {When::Always, Field::BatchSize, Test::NotNumeric, u"Batch size must be numeric."},
    {When::Always, Field::BatchSize, Test::NotAboveZero, u"Batch size must be greater than zero."},
    {When::Raise, Field::Target, Test::NotAboveExisting, u"Target TA must be greater than existing TA."},
    {When::Lower, Field::Target, Test::NotBelowExisting, u"Target TA must be lower than existing TA."},
    {When::Raise, Field::Method, Test::Empty, u"Please select a method to raise acidity."},
    {When::Lower, Field::Method, Test::Empty, u"Please select a method to lower acidity."},
    {When::AcidBlend, Field::Tartaric, Test::Empty, u"Please enter tartaric blend component."},
    {When::AcidBlend, Field::Tartaric, Test::NotNumeric, u"Tartaric blend component must be numeric."},
    {When::AcidBlend, Field::Tartaric, Test::OutsidePercent, u"Tartaric blend component must be between 0 and 100."},
    {When::AcidBlend, Field::Malic, Test::Empty, u"Please enter malic blend component."},
    {When::AcidBlend, Field::Malic, Test::NotNumeric, u"Malic blend component must be numeric."},
    {When::AcidBlend, Field::Malic, Test::OutsidePercent, u"Malic blend component must be between 0 and 100."},
    {When::AcidBlend, Field::Citric, Test::Empty, u"Please enter citric blend component."},
    {When::AcidBlend, Field::Citric, Test::NotNumeric, u"Citric blend component must be numeric."},
    {When::AcidBlend, Field::Citric, Test::OutsidePercent, u"Citric blend component must be between 0 and 100."},
    {When::AcidBlend, Field::Tartaric, Test::SharesSum, u"Acid blend components must sum to 100%"},
    {When::BlendWine, Field::Blend, Test::Empty, u"Please enter TA of blend wine."},
    {When::BlendWine, Field::Blend, Test::NotNumeric, u"TA of blend wine must be numeric."},
    {When::BlendWine, Field::Blend, Test::NotAboveZero, u"TA of blend wine must be greater than zero."},
    {When::BlendWineRaise, Field::Blend, Test::NotAboveTarget, u"TA of blend wine must be greater than target TA."},
    {When::BlendWineLower, Field::Blend, Test::NotBelowTarget, u"TA of blend wine must be lower than target TA."},
}};
// clang-format on

// The first share that is no number, else the tartaric when the sum leaves 99 to 101.
std::optional<Field> shareSumFault(Readings &in) {
    float sum = 0.0f;
    for (const Field share : {Field::Tartaric, Field::Malic, Field::Citric}) {
        const auto v = in.single(share);
        if (!v)
            return share;
        sum += *v; // single precision, (t + m) + c
    }
    if (sum > 101.0f || sum < 99.0f)
        return Field::Tartaric;
    return std::nullopt;
}

bool applies(When when, const Inputs &in) {
    const bool blendWine = in.method == catalogue::blendWine;
    switch (when) {
    case When::Always:
        return true;
    case When::Raise:
        return in.direction == Direction::Raise;
    case When::Lower:
        return in.direction == Direction::Lower;
    case When::AcidBlend:
        return in.method == catalogue::acidBlend;
    case When::BlendWine:
        return blendWine;
    case When::BlendWineRaise:
        return blendWine && in.direction == Direction::Raise;
    case When::BlendWineLower:
        return blendWine && in.direction == Direction::Lower;
    }
    return false;
}

// A value that does not convert (a numeric text beyond single precision) fails the
// check that converts it: that is how an overlong TA meets "must be greater than zero".
bool fails(const Check &check, Readings &in) {
    const auto single = [&](Field field) { return in.single(field); };
    switch (check.test) {
    case Test::Empty:
        return in.text(check.field).isEmpty();
    case Test::NotNumeric:
        return !in.of(check.field).numeric;
    case Test::NotAboveZero: {
        const auto v = single(check.field);
        return !v || *v <= 0.0f;
    }
    case Test::OutsidePercent: {
        const auto v = single(check.field);
        return !v || *v < 0.0f || *v > 100.0f;
    }
    case Test::SharesSum:
        return shareSumFault(in).has_value();
    case Test::NotAboveExisting:
    case Test::NotBelowExisting: {
        const auto t = single(Field::Target), e = single(Field::Exist);
        if (!t || !e)
            return true;
        return check.test == Test::NotAboveExisting ? *t <= *e : *t >= *e;
    }
    case Test::NotAboveTarget:
    case Test::NotBelowTarget: {
        const auto b = single(Field::Blend), t = single(Field::Target);
        if (!b || !t)
            return true;
        return check.test == Test::NotAboveTarget ? *b <= *t : *b >= *t;
    }
    }
    return false;
}

} // namespace

const QString &Readings::text(Field field) const {
    switch (field) {
    case Field::Exist:
        return m_inputs.exist;
    case Field::Target:
        return m_inputs.target;
    case Field::BatchSize:
        return m_inputs.batchSize;
    case Field::Method:
        return m_inputs.method;
    case Field::Tartaric:
        return m_inputs.tartaric;
    case Field::Malic:
        return m_inputs.malic;
    case Field::Citric:
        return m_inputs.citric;
    case Field::Blend:
        return m_inputs.blend;
    }
    return m_inputs.exist;
}

const numbers::Reading &Readings::of(Field field) {
    auto &slot = m_cache[size_t(field)];
    if (!slot)
        slot = numbers::read(text(field), m_locale);
    return *slot;
}

std::optional<CheckFailure> checkInputs(const Inputs &inputs) {
    Readings readings(inputs);
    return checkInputs(readings);
}

std::optional<CheckFailure> checkInputs(Readings &readings) {
    const Inputs &inputs = readings.inputs();
    for (size_t i = 0; i < checks.size(); ++i) {
        const Check &check = checks[i];
        if (applies(check.when, inputs) && fails(check, readings))
            return CheckFailure{int(i) + 1, QString::fromUtf16(check.message), check.field};
    }
    return std::nullopt;
}

std::optional<CheckFailure> checkShareSum(const QString &tartaric, const QString &malic,
                                          const QString &citric) {
    Inputs inputs;
    inputs.tartaric = tartaric;
    inputs.malic = malic;
    inputs.citric = citric;
    Readings readings(inputs);
    const auto fault = shareSumFault(readings);
    if (!fault)
        return std::nullopt;
    for (size_t i = 0; i < checks.size(); ++i) {
        if (checks[i].test == Test::SharesSum)
            return CheckFailure{int(i) + 1, QString::fromUtf16(checks[i].message), *fault};
    }
    return std::nullopt;
}

} // namespace titrova::calc
