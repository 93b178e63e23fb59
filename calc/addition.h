// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/checks.h"

#include <QString>
#include <optional>

namespace titrova::calc {

struct Addition {
    float result = 0.0f; // grams (in the TA unit's scale), or blending wine in the batch unit
    // The text for the result label; empty when the label is to keep what it shows (a TA
    // unit that is neither "g/L" nor "%", or a percent result that overflows).
    std::optional<QString> label;
};

// The arithmetic alone, for inputs that passed the checks. Every step computes in double
// and rounds once to single precision when it stores, as the figures users compare against
// were made; a step whose result overflows single precision is abandoned and leaves its
// value as it was.
Addition computeAddition(const Inputs &inputs);

struct Calculation {
    std::optional<CheckFailure> failure;
    Addition addition; // meaningful only without a failure
};

// What Calculate does: the checks, and the arithmetic only when all of them pass.
Calculation calculate(const Inputs &inputs);

} // namespace titrova::calc
