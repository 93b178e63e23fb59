// SPDX-License-Identifier: GPL-3.0-or-later
// What the Calculate button does, for any texts in the boxes. The input's first line picks
// the locale (its first byte, '0' to '8') and the direction (its second: 'r' raise, 'l'
// lower, any other byte by its value); the next ten lines are, in order, existing TA,
// target TA, batch size, tartaric, malic, citric, blending-wine TA, method, TA units and
// batch units.
#include "fuzzing.h"

#include "calc/addition.h"
#include "calc/catalogue.h"
#include "calc/numbers.h"

#include <QStringList>
#include <cmath>
#include <cstring>

using catalogue::Direction;
using fuzzing::require;

namespace {

Direction directionFor(uint8_t byte) {
    if (byte == 'r')
        return Direction::Raise;
    if (byte == 'l')
        return Direction::Lower;
    return Direction(byte % 3);
}

QString describe(const calc::Inputs &in) {
    const QStringList texts{in.exist,  in.target, in.batchSize, in.tartaric, in.malic,
                            in.citric, in.blend,  in.method,    in.taUnits,  in.batchUnits};
    QStringList shown;
    for (const QString &t : texts)
        shown += fuzzing::shown(t);
    return QStringLiteral("direction %1, inputs ").arg(int(in.direction)) +
           shown.join(QStringLiteral(", "));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char *bytes = reinterpret_cast<const char *>(data);
    const void *lineEnd = size ? std::memchr(bytes, '\n', size) : nullptr;
    const size_t header = lineEnd ? size_t(static_cast<const char *>(lineEnd) - bytes) : size;
    const QLocale &locale = fuzzing::localeFor(header > 0 ? uint8_t(data[0] - '0') : 0);
    QLocale::setDefault(locale);

    calc::Inputs in;
    in.direction = header > 1 ? directionFor(data[1]) : Direction::None;
    const QStringList lines =
        lineEnd ? QString::fromUtf8(bytes + header + 1, qsizetype(size - header - 1)).split(u'\n')
                : QStringList();
    QString *const texts[] = {&in.exist,  &in.target, &in.batchSize, &in.tartaric, &in.malic,
                              &in.citric, &in.blend,  &in.method,    &in.taUnits,  &in.batchUnits};
    for (qsizetype i = 0; i < lines.size() && i < qsizetype(std::size(texts)); ++i)
        *texts[i] = lines.at(i);

    const calc::Calculation c = calc::calculate(in);
    const auto detail = [&] { return describe(in); };
    if (c.failure) {
        require(c.failure->number >= 1 && c.failure->number <= 28 && !c.failure->message.isEmpty(),
                "a failed check names one of the checks", detail);
        return 0;
    }

    const float result = c.addition.result;
    require(std::isfinite(result) && result >= 0.0f,
            "an addition that passed the checks is a finite amount, never negative", detail);
    const bool labelled =
        in.method == catalogue::blendWine || in.taUnits == catalogue::taGramsPerLitre;
    require(!labelled || c.addition.label.has_value(),
            "a result in g/L, or of blending wine, is always shown", detail);
    if (!c.addition.label)
        return 0;

    const QString &label = *c.addition.label;
    const auto shown = numbers::toDouble(label, locale);
    require(shown.has_value(), "the result label is numeric in the locale",
            [&] { return describe(in) + QStringLiteral(" label ") + fuzzing::shown(label); });
    // Seven significant digits, then two decimals.
    const double allowed = 0.005 * (1 + 1e-12) + 5.000001e-7 * double(result);
    require(std::fabs(*shown - double(result)) <= allowed, "the label shows the result", [&] {
        return describe(in) + QStringLiteral(" label ") + fuzzing::shown(label) +
               QStringLiteral(" result %1").arg(double(result), 0, 'g', 9);
    });
    return 0;
}
