// SPDX-License-Identifier: GPL-3.0-or-later
// The first byte picks a locale ('0' to '8'), the rest is a UTF-8 text. The numeric test and both
// conversions must agree, and every text the formatters write must read back as the number it
// shows, rounded as it should be.
#include "fuzzing.h"

#include "calc/numbers.h"

#include <cmath>
#include <cstring>

using namespace titrova;
using namespace Qt::StringLiterals;
using fuzzing::require;

namespace {

// What a formatter wrote must read back within half a unit of its last place of the value,
// and on a whole number of those units.
void readsBack(const QString &text, double value, double unit, const QLocale &locale,
               const char *property) {
    const auto back = numbers::toDouble(text, locale);
    const double slack = unit / 2 * (1 + 1e-9) + 5.000001e-7 * std::fabs(value);
    require(back && std::fabs(*back - value) <= slack &&
                std::fabs(*back / unit - std::round(*back / unit)) < 1e-6 * (1 + std::fabs(*back)),
            property,
            [&] { return u"%1 wrote %2"_s.arg(value, 0, 'g', 17).arg(fuzzing::shown(text)); });
}

void checkFormats(double d, float f, const QLocale &locale) {
    if (std::isfinite(d) && std::fabs(d) < 1e15) {
        readsBack(numbers::standardFromDouble(d, locale), d, 0.01, locale,
                  "a standard double reads back rounded to two decimals");
        const QString whole = numbers::wholeFromDouble(d, locale);
        if (std::fabs(d) < 0.5 - 1e-12)
            require(whole.isEmpty(), "a whole number that rounds to zero is written empty");
        else if (std::fabs(d) > 0.5 + 1e-12)
            readsBack(whole, d, 1, locale, "a whole number reads back rounded to a whole");
    }
    if (std::isfinite(f) && std::fabs(f) < 1e15f)
        readsBack(numbers::standardFromSingle(f, locale), double(f), 0.01, locale,
                  "a standard single reads back as its seven digits rounded to two decimals");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const QLocale &locale = fuzzing::localeFor(uint8_t(data[0] - '0'));
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const auto d = numbers::toDouble(text, locale);
    const auto single = numbers::toSingle(text, locale);
    const numbers::Reading reading = numbers::read(text, locale);
    const auto detail = [&] { return fuzzing::shown(text); };
    require(numbers::isNumeric(text, locale) == d.has_value() && reading.numeric == d.has_value() &&
                reading.single == single,
            "the numeric test, read() and both conversions agree", detail);
    require(!d || (std::isfinite(*d) && (single.has_value() || std::fabs(*d) >= 3.4e38)),
            "a numeric text is finite, and a single within single range", detail);
    require(!single || (d && std::fabs(double(*single) - *d) <= std::fabs(*d) * 1.2e-7 + 1e-45),
            "the single is the number rounded to single precision", detail);
    if (d)
        checkFormats(*d + 0.1, single.value_or(0), locale); // a scroll bar's step too
    if (d)
        checkFormats(*d, 0, locale);
    // The raw bytes as numbers reach magnitudes and fractions no typed text does quickly.
    double raw = 0;
    float rawSingle = 0;
    std::memcpy(&raw, data + 1, std::min(size - 1, sizeof raw));
    std::memcpy(&rawSingle, data + 1, std::min(size - 1, sizeof rawSingle));
    checkFormats(raw, rawSingle, locale);
    return 0;
}
