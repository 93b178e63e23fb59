// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace titrova::numbers {
namespace {

// What the parser and the formatter need of a locale, looked up once per locale in use:
// QLocale's own accessors allocate, and a calculation asks for them many times.
struct LocaleInfo {
    QLocale locale;
    QString decimal;
    QString altDecimal; // "." where the locale's separators are not ASCII: typeable
    QString group;
    QString minus;
    QString plus;
    char16_t zero = u'0';
    bool grouping = true;
    int leastGroup = 3;
    int higherGroup = 3;
};

LocaleInfo makeInfo(const QLocale &locale) {
    LocaleInfo li;
    li.locale = locale;
    li.decimal = locale.decimalPoint();
    li.group = locale.groupSeparator();
    li.minus = locale.negativeSign();
    li.plus = locale.positiveSign();
    const QString zero = locale.zeroDigit();
    if (zero.size() == 1)
        li.zero = zero.front().unicode();
    li.grouping = !(locale.numberOptions() & QLocale::OmitGroupSeparator) && !li.group.isEmpty();
    if (li.decimal.size() != 1 || li.decimal.front().unicode() > 0x7f) {
        if (li.group != QLatin1String("."))
            li.altDecimal = QStringLiteral(".");
    }
    // The locale's group sizes, read off how it writes a long number (Indian grouping
    // puts 3 digits in the last group and 2 in the others).
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::DefaultNumberOptions);
    const QStringList parts = plain.toString(qlonglong(1234567890123)).split(li.group);
    if (parts.size() >= 3) {
        li.leastGroup = int(parts.at(parts.size() - 1).toUcs4().size());
        li.higherGroup = int(parts.at(parts.size() - 2).toUcs4().size());
    }
    if (li.leastGroup <= 0 || li.higherGroup <= 0)
        li.leastGroup = li.higherGroup = 3;
    return li;
}

const LocaleInfo &info(const QLocale &locale) {
    thread_local LocaleInfo cached = makeInfo(locale);
    if (!(cached.locale == locale) || cached.locale.numberOptions() != locale.numberOptions())
        cached = makeInfo(locale);
    return cached;
}

int digitValue(QChar c, const LocaleInfo &li) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (li.zero != u'0' && u >= li.zero && u <= li.zero + 9)
        return u - li.zero;
    return -1;
}

bool eat(QStringView &s, const QString &token) {
    // The first character settles nearly every call; compare the rest only then.
    if (token.isEmpty() || s.isEmpty() || s.front() != token.front() || !s.startsWith(token))
        return false;
    s = s.mid(token.size());
    return true;
}

// The digits of a text in C form ("-1234.5"), or empty when it is not a number.
std::string cForm(QStringView text, const LocaleInfo &li) {
    QStringView s = text.trimmed();
    std::string out;
    out.reserve(size_t(s.size()) + 2);
    if (eat(s, li.minus) || eat(s, QStringLiteral("-")) || eat(s, QStringLiteral(u"\u2212")))
        out.push_back('-');
    else if (!eat(s, li.plus))
        eat(s, QStringLiteral("+"));

    // Groups are checked as they end: the first has 1 to 3 (or the locale's higher size)
    // digits, the middle ones the higher size or 3, the last the locale's least size.
    const int top = std::max(li.higherGroup, 3);
    int groups = 0;
    int run = 0;
    int digits = 0;
    while (!s.isEmpty()) {
        const int d = digitValue(s.front(), li);
        if (d >= 0) {
            out.push_back(char('0' + d));
            ++run;
            ++digits;
            s = s.mid(1);
        } else if (li.grouping && run > 0 && s.front() == li.group.front() &&
                   s.startsWith(li.group)) {
            const bool ok = groups == 0 ? run <= top : (run == li.higherGroup || run == 3);
            if (!ok)
                return {};
            ++groups;
            run = 0;
            s = s.mid(li.group.size());
        } else {
            break;
        }
    }
    if (groups > 0 && run != li.leastGroup)
        return {};
    if (eat(s, li.decimal) || eat(s, li.altDecimal)) {
        out.push_back('.');
        while (!s.isEmpty()) {
            const int d = digitValue(s.front(), li);
            if (d < 0)
                break;
            out.push_back(char('0' + d));
            ++digits;
            s = s.mid(1);
        }
    }
    if (!s.isEmpty() || digits == 0)
        return {};
    return out;
}

// A decimal value as digits d0 d1 d2 ... meaning d0.d1d2... x 10^exp10.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exp10 = 0;
};

// Reads printf's or to_chars' scientific form: "-3.5500000000000003e+00".
Decimal fromScientific(const char *s) {
    Decimal d;
    if (*s == '-') {
        d.negative = true;
        ++s;
    }
    for (; *s && *s != 'e'; ++s) {
        if (*s >= '0' && *s <= '9')
            d.digits.push_back(*s);
    }
    if (*s == 'e')
        d.exp10 = std::atoi(s + 1);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

Decimal ofSingle(float value) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6e", double(value));
    return fromScientific(buf);
}

Decimal ofDouble(double value) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::scientific);
    *end.ptr = '\0';
    return fromScientific(buf);
}

// Rounds half away from zero to the given number of decimals; returns all digits kept,
// the last `decimals` of them being the fraction. "0" digits for zero.
std::string roundedDigits(const Decimal &d, int decimals) {
    const long long len = static_cast<long long>(d.digits.size());
    const long long keep = static_cast<long long>(d.exp10) + 1 + decimals;
    std::string kept;
    bool up = false;
    if (keep >= 0) {
        kept = d.digits.substr(0, size_t(std::min(keep, len)));
        if (keep > len)
            kept.append(size_t(keep - len), '0');
        up = keep < len && d.digits[size_t(keep)] >= '5';
    }
    if (kept.empty())
        kept.push_back('0');
    if (up) {
        long long i = static_cast<long long>(kept.size()) - 1;
        for (; i >= 0 && kept[size_t(i)] == '9'; --i)
            kept[size_t(i)] = '0';
        if (i < 0)
            kept = std::string(1, '1').append(kept);
        else
            ++kept[size_t(i)];
    }
    if (kept.size() < size_t(decimals) + 1)
        kept = std::string(size_t(decimals) + 1 - kept.size(), '0').append(kept);
    const size_t firstNonZero = kept.find_first_not_of('0');
    const size_t intDigits = kept.size() - size_t(decimals);
    const size_t strip =
        std::min(firstNonZero == std::string::npos ? kept.size() : firstNonZero, intDigits - 1);
    return kept.substr(strip);
}

void appendDigit(QString &out, char c, const LocaleInfo &li) {
    out.append(QChar(char16_t(li.zero + (c - '0'))));
}

QString fixed(const Decimal &d, int decimals, bool group, const LocaleInfo &li) {
    const std::string kept = roundedDigits(d, decimals);
    const bool zero = kept.find_first_not_of('0') == std::string::npos;
    if (zero && decimals == 0)
        return QString();
    const size_t intDigits = kept.size() - size_t(decimals);
    QString out;
    out.reserve(int(kept.size()) * 2 + 4);
    if (d.negative && !zero)
        out += li.minus;
    // Group boundaries counted from the decimal separator leftwards.
    size_t nextBoundary = size_t(li.leastGroup);
    std::string marks(intDigits, '\0');
    for (size_t fromRight = nextBoundary; fromRight < intDigits;
         fromRight += size_t(li.higherGroup))
        marks[intDigits - fromRight] = 1;
    for (size_t i = 0; i < intDigits; ++i) {
        if (group && li.grouping && marks[i])
            out += li.group;
        appendDigit(out, kept[i], li);
    }
    if (decimals > 0) {
        out += li.decimal;
        for (size_t i = intDigits; i < kept.size(); ++i)
            appendDigit(out, kept[i], li);
    }
    return out;
}

} // namespace

namespace {

std::optional<double> doubleOf(const std::string &c) {
    if (c.empty())
        return std::nullopt;
    double value = 0;
    const auto r = std::from_chars(c.data(), c.data() + c.size(), value);
    if (r.ec == std::errc::result_out_of_range) {
        // Too small for a double reads as zero; too large is no number at all.
        const size_t firstNonZero = c.find_first_not_of("-0.");
        const size_t point = c.find('.');
        if (point != std::string::npos &&
            (firstNonZero == std::string::npos || firstNonZero > point))
            return c.front() == '-' ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (r.ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> singleOf(const std::string &c, std::optional<double> d) {
    if (!d)
        return std::nullopt;
    float value = 0;
    const auto r = std::from_chars(c.data(), c.data() + c.size(), value);
    if (r.ec == std::errc())
        return value;
    // Out of range for a single: an underflow is zero, an overflow does not convert.
    float stored = 0;
    if (std::fabs(*d) < 1.0 && storeSingle(*d, stored))
        return stored;
    return std::nullopt;
}

} // namespace

std::optional<double> toDouble(QStringView text, const QLocale &locale) {
    return doubleOf(cForm(text, info(locale)));
}

std::optional<float> toSingle(QStringView text, const QLocale &locale) {
    const std::string c = cForm(text, info(locale));
    return singleOf(c, doubleOf(c));
}

Reading read(QStringView text, const QLocale &locale) {
    const std::string c = cForm(text, info(locale));
    const auto d = doubleOf(c);
    return Reading{d.has_value(), singleOf(c, d)};
}

bool storeSingle(double value, float &out) {
    // Beyond this a conversion rounds to infinity (and the cast itself would be undefined).
    constexpr double limit = 0x1.ffffffp+127;
    if (!(std::fabs(value) < limit))
        return false;
    out = static_cast<float>(value);
    return true;
}

QString standardFromSingle(float value, const QLocale &locale) {
    if (!std::isfinite(value))
        return QString();
    return fixed(ofSingle(value), 2, true, info(locale));
}

QString standardFromDouble(double value, const QLocale &locale) {
    if (!std::isfinite(value))
        return QString();
    return fixed(ofDouble(value), 2, true, info(locale));
}

QString wholeFromDouble(double value, const QLocale &locale) {
    if (!std::isfinite(value))
        return QString();
    return fixed(ofDouble(value), 0, false, info(locale));
}

QString plainFromSingle(float value) {
    if (!std::isfinite(value))
        return QString();
    const Decimal d = ofSingle(value);
    if (d.digits == "0")
        return QStringLiteral("0");
    std::string out;
    if (d.negative)
        out.push_back('-');
    const int len = int(d.digits.size());
    if (d.exp10 < 0) {
        out += "0.";
        out.append(size_t(-d.exp10 - 1), '0');
        out += d.digits;
    } else if (d.exp10 + 1 >= len) {
        out += d.digits;
        out.append(size_t(d.exp10 + 1 - len), '0');
    } else {
        out += d.digits.substr(0, size_t(d.exp10) + 1);
        out.push_back('.');
        out += d.digits.substr(size_t(d.exp10) + 1);
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

} // namespace titrova::numbers
