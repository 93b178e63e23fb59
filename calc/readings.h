// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/addition.h"
#include "calc/numbers.h"

#include <array>
#include <optional>

namespace titrova::calc {

// Each input text parsed at most once per calculation: the checks and the arithmetic ask
// for the same numbers many times.
class Readings {
public:
    explicit Readings(const Inputs &inputs)
        : m_inputs(inputs) {}

    const Inputs &inputs() const { return m_inputs; }
    const QString &text(Field field) const;
    const titrova::numbers::Reading &of(Field field);
    std::optional<float> single(Field field) { return of(field).single; }
    const QLocale &locale() const { return m_locale; }

private:
    const Inputs &m_inputs;
    const QLocale m_locale;
    std::array<std::optional<titrova::numbers::Reading>, 8> m_cache;
};

std::optional<CheckFailure> checkInputs(Readings &readings);
Addition computeAddition(Readings &readings);

} // namespace titrova::calc
