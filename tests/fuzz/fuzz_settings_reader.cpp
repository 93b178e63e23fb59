// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a settings file. Reading fails only as documented, and a table that the
// writer accepts comes back from the written file with the same eight values, whether the
// table was read from the bytes or made of their first eight fields.
#include "fuzzing.h"

#include "calc/numbers.h"
#include "settings/eightSettings.h"
#include "settings/settingsfile.h"

#include <cmath>

using namespace Qt::StringLiterals;
using fuzzing::require;
using settings::Kind;
using settings::SettingsError;
using settings::SettingsTable;

namespace {

// Seven significant digits of a single: off by at most a float's rounding plus half a unit
// in the seventh digit, and by half the smallest subnormal near zero.
bool closeTo(double written, double meant) {
    return std::fabs(written - meant) <=
           6.5e-7 * std::max(std::fabs(written), std::fabs(meant)) + 1e-45;
}

void checkRoundTrip(const SettingsTable &source, const QLocale &locale, int rounds = 2) {
    QByteArray file;
    try {
        file = settings::settingsFileBytes(source, locale);
    } catch (const SettingsError &e) {
        require(e.number() == SettingsError::NotANumber ||
                    e.number() == SettingsError::UnwritableText ||
                    e.number() == SettingsError::KeyMissing,
                "the writer fails only on a missing key, a number or a text");
        return;
    }
    require(
        file.count("\r\n") == 8 && file.endsWith("\r\n") &&
            std::all_of(file.begin(), file.end(),
                        [](char c) { return c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7f); }),
        "a written file holds eight lines of printable ASCII",
        [&] { return QString::fromLatin1(file); });
    SettingsTable back;
    try {
        settings::readSettings(file, back);
    } catch (const SettingsError &) {
        require(false, "a written file reads back", [&] { return QString::fromLatin1(file); });
    }
    require(back.size() == 8, "a written file holds eight settings");
    for (const settings::Setting &s : settings::allSettings()) {
        const QVariant before = source.lookup(s.key), after = back.lookup(s.key);
        const auto detail = [&] {
            return s.key + u": "_s + fuzzing::shown(before.toString()) + u" came back as "_s +
                   fuzzing::shown(after.toString());
        };
        if (s.kind == Kind::Text) {
            require(after.typeId() == QMetaType::QString && after == before.toString(),
                    "a text reads back unchanged", detail);
            continue;
        }
        const auto meant = before.typeId() == QMetaType::QString
                               ? numbers::toDouble(before.toString(), locale)
                               : std::optional(before.toDouble());
        require(meant && after.typeId() == QMetaType::Double, "a number reads back as a number",
                detail);
        const double written = after.toDouble();
        require(s.kind == Kind::Number
                    ? closeTo(written, *meant)
                    : std::trunc(written) == written && closeTo(written, std::round(*meant)),
                "the batch size reads back as written, a share rounded half away from zero",
                detail);
    }
    // Writing what was read gives the same settings, numbers within the seventh digit.
    if (rounds > 1)
        checkRoundTrip(back, QLocale::c(), rounds - 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QVariant> fields = settings::parseFields(bytes);
    SettingsTable table;
    int fault = 0;
    try {
        settings::readSettings(bytes, table);
    } catch (const SettingsError &e) {
        fault = e.number();
    }
    const qsizetype pairs = fields.size() / 2;
    const auto counts = [&] {
        return u"%1 fields, %2 read, fault %3"_s.arg(fields.size()).arg(table.size()).arg(fault);
    };
    require(fault == 0 ? fields.size() % 2 == 0 && table.size() == pairs
            : fault == SettingsError::OddFieldCount
                ? fields.size() % 2 != 0 && table.size() == pairs
                : fault == SettingsError::DuplicateKey && table.size() < pairs,
            "reading fails only on an odd field count, after every pair, or at a repeated key",
            counts);
    // Any byte changes the locale that texts are read by when numbers are written.
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum += data[i];
    const QLocale &locale = fuzzing::localeFor(uint8_t(sum));
    if (fault == 0)
        checkRoundTrip(table, locale);
    // The fields in order as the eight settings: the writer meets every kind of value everywhere.
    if (fields.size() >= 8) {
        SettingsTable chosen;
        for (qsizetype i = 0; i < 8; ++i)
            chosen.add(settings::allSettings()[size_t(i)].key, fields.at(i));
        checkRoundTrip(chosen, locale);
    }
    return 0;
}
