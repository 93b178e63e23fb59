// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fuzzing {

// A broken property must end the process: only then does libFuzzer keep the input, and only
// then does the replay test fail.
[[noreturn]] inline void fail(const char *property, const QString &detail = QString()) {
    std::fprintf(stderr, "property violated: %s\n", property);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", detail.toUtf8().constData());
    std::abort();
}

inline void require(bool ok, const char *property) {
    if (!ok)
        fail(property);
}

// The detail is built only on failure: formatting it on every run would slow the fuzzer.
template <typename Detail> void require(bool ok, const char *property, Detail &&detail) {
    if (!ok)
        fail(property, detail());
}

// Locales whose separators, digits and grouping differ the most; index 0 to 8 (and on, by
// wrapping), so that seeds can name theirs with a digit.
inline const QLocale &localeFor(uint8_t index) {
    static const std::array<QLocale, 9> locales{
        QLocale(QStringLiteral("en_US")),
        QLocale(QStringLiteral("de_DE")),
        QLocale(QStringLiteral("fr_FR")),
        QLocale(QStringLiteral("de_CH")),
        QLocale(QStringLiteral("hi_IN")),
        QLocale(QStringLiteral("ar_EG")),
        QLocale(QStringLiteral("fa_IR")),
        QLocale(QStringLiteral("sv_SE")),
        QLocale::c(),
    };
    return locales[index % locales.size()];
}

// Shows a text with every character outside printable ASCII escaped, for a failure report.
inline QString shown(const QString &text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out + u'"';
}

} // namespace fuzzing
