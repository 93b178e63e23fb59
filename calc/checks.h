// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/catalogue.h"

#include <QMetaType>
#include <QString>
#include <optional>

namespace titrova::calc {

// The main window's inputs, as the texts its controls hold.
struct Inputs {
    QString exist;
    QString target;
    QString batchSize;
    QString tartaric;
    QString malic;
    QString citric;
    QString blend;
    QString method;
    QString taUnits;
    QString batchUnits;
    catalogue::Direction direction = catalogue::Direction::None;
};

// The input that a failed check sends the keyboard focus to.
enum class Field { Exist, Target, BatchSize, Method, Tartaric, Malic, Citric, Blend };

struct CheckFailure {
    int number; // 1-based place in the fixed order of the checks
    QString message;
    Field field;
};

// The checks in their fixed order; the first failure, or none when every input the method
// needs is sound. Numbers are read by the default locale.
std::optional<CheckFailure> checkInputs(const Inputs &inputs);

// The blend's sum alone, for a window that saves shares without calculating: the failure
// names the first share that is no number, or the tartaric when the sum is out of bounds.
std::optional<CheckFailure> checkShareSum(const QString &tartaric, const QString &malic,
                                          const QString &citric);

} // namespace titrova::calc

Q_DECLARE_METATYPE(titrova::calc::Inputs)
