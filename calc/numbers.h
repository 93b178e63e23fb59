// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <optional>

// Text <-> number by the user's locale. One parser serves the numeric test and every
// conversion, so a text that passes the test always converts, and every text we write
// reads back as the same number.
namespace titrova::numbers {

// The number a text stands for: blanks around it allowed, an optional sign, the locale's
// decimal separator and its digit grouping (groups where the locale would put them, so
// "6.5" in a German locale is refused rather than read as 65). No exponents.
// Empty when the text is not a finite number.
std::optional<double> toDouble(QStringView text, const QLocale &locale = QLocale());

inline bool isNumeric(QStringView text, const QLocale &locale = QLocale()) {
    return toDouble(text, locale).has_value();
}

// Single precision, correctly rounded from the text. Empty when the text is not numeric or
// its magnitude is beyond single precision (an overflow, as a stored single would give).
std::optional<float> toSingle(QStringView text, const QLocale &locale = QLocale());

// Both answers of one parse: whether the text is numeric, and its single, if it has one.
struct Reading {
    bool numeric = false;
    std::optional<float> single;
};
Reading read(QStringView text, const QLocale &locale = QLocale());

// "standard" format for a single-precision result: the value is first written to seven
// significant digits, then rounded half away from zero to two decimals, with grouping.
QString standardFromSingle(float value, const QLocale &locale = QLocale());

// "standard" format for a double (a stepped value): rounded half away from zero on its
// shortest decimal form, so 3.45 + 0.1 shows 3.55 and not 3.56 or 3.54.
QString standardFromDouble(double value, const QLocale &locale = QLocale());

// "##" format: a whole number, halves away from zero, no grouping; zero gives "".
QString wholeFromDouble(double value, const QLocale &locale = QLocale());

// A single written for a file: point as decimal separator, no grouping, at most seven
// significant digits, no exponent, no trailing zeros ("5", "1234.5").
QString plainFromSingle(float value);

// Stores a double computation into single precision; false (and out untouched) when the
// value does not fit, which abandons the step that wanted to store it.
bool storeSingle(double value, float &out);

} // namespace titrova::numbers
