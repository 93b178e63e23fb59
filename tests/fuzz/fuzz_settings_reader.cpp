// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a settings file. Reading fails only as documented, and a table that the
// writer accepts comes back from the written file with the same eight values, whether the
// table was read from the bytes or made of their first eight fields, and again when what was
// read back is written once more.
#include "fuzzing.h"

#include "calc/numbers.h"
#include "settings/eightSettings.h"
#include "settings/settingsFile.h"

#include <cmath>

using namespace titrova;
using namespace Qt::StringLiterals;
using fuzzing::require;
using settings::SettingsError;
using settings::SettingsTable;

namespace {

int failure(const auto &f) {
    try {
        f();
    } catch (const SettingsError &e) {
        return e.number();
    }
    return 0;
}

void checkRoundTrip(const SettingsTable &source, const QLocale &locale, int rounds = 2) {
    QByteArray file;
    const int refused = failure([&] { file = settings::settingsFileBytes(source, locale); });
    require(refused == 0 || refused == SettingsError::NotANumber ||
                refused == SettingsError::UnwritableText || refused == SettingsError::KeyMissing,
            "the writer fails only on a missing key, a number or a text");
    SettingsTable back;
    const auto shown = [&] { return fuzzing::shown(QString::fromLatin1(file)); };
    require(refused || (file.count("\r\n") == 8 && file.endsWith("\r\n") &&
                        !failure([&] { settings::readSettings(file, back); }) && back.size() == 8),
            "a written file holds eight lines and reads back", shown);
    for (const settings::Setting &s :
         refused ? std::span<const settings::Setting>() : settings::allSettings()) {
        const QVariant before = source.lookup(s.key), after = back.lookup(s.key);
        const auto meant = before.typeId() == QMetaType::QString && s.kind != settings::Kind::Text
                               ? numbers::toDouble(before.toString(), locale)
                               : std::optional(before.toDouble());
        // Seven significant digits of a single: off by a float's rounding and half a unit in
        // the seventh digit, and by half the smallest subnormal near zero.
        const double written = after.toDouble(),
                     want = s.kind == settings::Kind::Whole ? std::round(*meant) : *meant;
        require(s.kind == settings::Kind::Text
                    ? after.typeId() == QMetaType::QString && after == before.toString()
                    : after.typeId() == QMetaType::Double &&
                          (s.kind == settings::Kind::Number || std::trunc(written) == written) &&
                          std::fabs(written - want) <=
                              6.5e-7 * std::max(std::fabs(written), std::fabs(want)) + 1e-45,
                "each setting reads back as written: a text unchanged, a number to seven digits, a "
                "share whole",
                [&] {
                    return s.key + u": "_s + fuzzing::shown(before.toString()) +
                           u" came back as "_s + fuzzing::shown(after.toString());
                });
    }
    if (!refused && rounds > 1)
        checkRoundTrip(back, QLocale::c(), rounds - 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QVariant> fields = settings::parseFields(bytes);
    SettingsTable table;
    const int fault = failure([&] { settings::readSettings(bytes, table); });
    const qsizetype pairs = fields.size() / 2;
    require(fault == 0 ? fields.size() % 2 == 0 && table.size() == pairs
            : fault == SettingsError::OddFieldCount
                ? fields.size() % 2 != 0 && table.size() == pairs
                : fault == SettingsError::DuplicateKey && table.size() < pairs,
            "reading fails only on an odd field count, after every pair, or at a repeated key");
    // Any byte changes the locale that texts are read by when numbers are written.
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum += data[i];
    if (fault == 0)
        checkRoundTrip(table, fuzzing::localeFor(uint8_t(sum)));
    // The fields in order as the eight settings: the writer meets every kind of value everywhere.
    SettingsTable chosen;
    for (qsizetype i = 0; i < 8 && fields.size() >= 8; ++i)
        chosen.add(settings::allSettings()[size_t(i)].key, fields.at(i));
    if (fields.size() >= 8)
        checkRoundTrip(chosen, fuzzing::localeFor(uint8_t(sum)));
    return 0;
}
