// SPDX-License-Identifier: GPL-3.0-or-later
// What the Calculate button does, for any texts in the boxes. The input's first line picks
// the locale (its first byte, '0' to '8') and the direction (its second: 'r' raise, 'l'
// lower, any other byte by its value); the next ten lines are, in order, existing TA,
// target TA, batch size, tartaric, malic, citric, blending-wine TA, method, TA units and
// batch units.
#include "fuzzing.h"

#include "calc/addition.h"
#include "calc/numbers.h"

#include <QStringList>
#include <cmath>

using namespace titrova;

using catalogue::Direction;
using namespace Qt::StringLiterals;
using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(u'\n');
    const QString head = lines.takeFirst();
    const QLocale &locale =
        fuzzing::localeFor(head.isEmpty() ? 0 : uint8_t(head[0].unicode() - '0'));
    QLocale::setDefault(locale);
    calc::Inputs in;
    const char16_t way = head.size() > 1 ? head[1].unicode() : 0;
    in.direction = way == u'r'   ? Direction::Raise
                   : way == u'l' ? Direction::Lower
                                 : Direction(way % 3);
    QString *const texts[] = {&in.exist,  &in.target, &in.batchSize, &in.tartaric, &in.malic,
                              &in.citric, &in.blend,  &in.method,    &in.taUnits,  &in.batchUnits};
    for (qsizetype i = 0; i < lines.size() && i < qsizetype(std::size(texts)); ++i)
        *texts[i] = lines.at(i);
    const auto detail = [&] { return fuzzing::shown(head + u'\n' + lines.join(u'\n')); };

    const calc::Calculation c = calc::calculate(in);
    if (c.failure) {
        require(c.failure->number >= 1 && c.failure->number <= 28 && !c.failure->message.isEmpty(),
                "a failed check names one of the checks", detail);
        return 0;
    }
    const float result = c.addition.result;
    require(std::isfinite(result) && result >= 0.0f,
            "an addition that passed the checks is a finite amount, never negative", detail);
    require(c.addition.label ||
                (in.method != catalogue::blendWine && in.taUnits != catalogue::taGramsPerLitre),
            "a result in g/L, or of blending wine, is always shown", detail);
    if (!c.addition.label)
        return 0;
    // Seven significant digits, then two decimals.
    const auto shown = numbers::toDouble(*c.addition.label, locale);
    require(shown && std::fabs(*shown - double(result)) <=
                         0.005 * (1 + 1e-12) + 5.000001e-7 * double(result),
            "the label shows the result",
            [&] { return detail() + u" shows "_s + *c.addition.label; });
    return 0;
}
