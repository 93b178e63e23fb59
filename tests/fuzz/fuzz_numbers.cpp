// SPDX-License-Identifier: GPL-3.0-or-later
// The first byte picks a locale ('0' to '8'), the rest is a UTF-8 text. The numeric test and both
// conversions must agree, and every text the formatters write must read back as the number
// it shows.
#include "fuzzing.h"

#include "calc/numbers.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

using fuzzing::require;
using fuzzing::shown;

namespace {

// The expected figures come from the standard library's decimal conversions, a path
// independent of the formatter's own digit handling.
std::string shortestFixed(double value) {
    char buf[512];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

// A fixed-point text rounded half away from zero to `decimals` places: the first dropped
// digit alone decides, since any digits after a 5 only make it more than a half.
std::string roundedFixed(std::string fixed, int decimals) {
    std::string sign;
    if (!fixed.empty() && fixed.front() == '-') {
        sign = "-";
        fixed.erase(0, 1);
    }
    const size_t point = fixed.find('.');
    std::string digits = fixed.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : fixed.substr(point + 1);
    const bool up = fraction.size() > size_t(decimals) && fraction[size_t(decimals)] >= '5';
    fraction.resize(size_t(decimals), '0');
    digits += fraction;
    if (up) {
        size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(0, 1, '1');
        else
            ++digits[i - 1];
    }
    const size_t whole = digits.size() - size_t(decimals);
    std::string out = sign + digits.substr(0, whole);
    if (decimals > 0)
        out += '.' + digits.substr(whole);
    return out;
}

double parsed(const std::string &text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool isZero(const std::string &text) {
    return text.find_first_not_of("-0.") == std::string::npos;
}

QString figures(double value, const QString &text, const std::string &expected) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", value);
    return QStringLiteral("value %1 wrote %2, expected %3")
        .arg(QLatin1String(buf), shown(text), QString::fromStdString(expected));
}

void checkDoubleFormats(double d, const QLocale &locale) {
    if (!std::isfinite(d))
        return;
    const std::string fixed = shortestFixed(d);

    const QString standard = numbers::standardFromDouble(d, locale);
    const std::string twoPlaces = roundedFixed(fixed, 2);
    const auto standardBack = numbers::toDouble(standard, locale);
    require(standardBack && *standardBack == parsed(twoPlaces),
            "a standard double reads back as the value rounded to two decimals",
            [&] { return figures(d, standard, twoPlaces); });
    const QString decimal = locale.decimalPoint();
    require(standard.size() > 3 && standard.mid(standard.size() - 3, 1) == decimal,
            "a standard double has two digits after the decimal separator",
            [&] { return figures(d, standard, twoPlaces); });

    const QString whole = numbers::wholeFromDouble(d, locale);
    const std::string rounded = roundedFixed(fixed, 0);
    if (isZero(rounded)) {
        require(whole.isEmpty(), "a whole number that rounds to zero is written empty",
                [&] { return figures(d, whole, rounded); });
    } else {
        const auto wholeBack = numbers::toDouble(whole, locale);
        require(wholeBack && *wholeBack == parsed(rounded),
                "a whole number reads back as the value rounded to a whole",
                [&] { return figures(d, whole, rounded); });
    }
}

void checkSingleFormat(float f, const QLocale &locale) {
    if (!std::isfinite(f))
        return;
    // Seven significant digits first, then two decimals: the double rounding is intended.
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6e", double(f));
    const std::string expected = roundedFixed(shortestFixed(parsed(buf)), 2);
    const QString standard = numbers::standardFromSingle(f, locale);
    const auto back = numbers::toDouble(standard, locale);
    require(back && *back == parsed(expected),
            "a standard single reads back as its seven digits rounded to two decimals",
            [&] { return figures(double(f), standard, expected); });
}

void checkReading(const QString &text, const QLocale &locale) {
    const auto d = numbers::toDouble(text, locale);
    const auto single = numbers::toSingle(text, locale);
    const numbers::Reading reading = numbers::read(text, locale);
    const auto detail = [&] { return QStringLiteral("text %1").arg(shown(text)); };

    require(numbers::isNumeric(text, locale) == d.has_value(),
            "the numeric test agrees with the conversion to double", detail);
    require(reading.numeric == d.has_value(), "read() agrees with the numeric test", detail);
    require(reading.single == single, "read() gives the single that toSingle() gives", detail);
    require(!single || d, "only a numeric text converts to a single", detail);
    if (!d)
        return;
    require(std::isfinite(*d), "a numeric text is finite", detail);
    require(!(std::fabs(*d) < 3.4e38) || single.has_value(),
            "a numeric text within single range converts to a single", detail);
    if (!single)
        return;
    // Rounding straight from the text may differ from rounding the double by one step, at
    // a tie; never by more. Just above the largest single a text still rounds down to it,
    // where the cast would be undefined.
    constexpr double largest = std::numeric_limits<float>::max();
    const float viaDouble = std::fabs(*d) <= largest ? static_cast<float>(*d)
                            : *d > 0                 ? float(largest)
                                                     : -float(largest);
    require(*single == viaDouble || *single == std::nextafter(viaDouble, HUGE_VALF) ||
                *single == std::nextafter(viaDouble, -HUGE_VALF),
            "the single is the double rounded to single precision", detail);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const QLocale &locale = fuzzing::localeFor(uint8_t(data[0] - '0'));
    const char *textBytes = reinterpret_cast<const char *>(data + 1);
    const QString text = QString::fromUtf8(textBytes, qsizetype(size - 1));

    checkReading(text, locale);
    if (const auto d = numbers::toDouble(text, locale)) {
        checkDoubleFormats(*d, locale);
        // A step of the scroll bars, as the linked inputs take it.
        checkDoubleFormats(*d + 0.1, locale);
    }
    if (const auto f = numbers::toSingle(text, locale))
        checkSingleFormat(*f, locale);

    // The raw bytes as numbers reach magnitudes and fractions no typed text does quickly.
    if (size - 1 >= sizeof(double)) {
        double d;
        std::memcpy(&d, textBytes, sizeof d);
        checkDoubleFormats(d, locale);
    }
    if (size - 1 >= sizeof(float)) {
        float f;
        std::memcpy(&f, textBytes, sizeof f);
        checkSingleFormat(f, locale);
    }
    return 0;
}
