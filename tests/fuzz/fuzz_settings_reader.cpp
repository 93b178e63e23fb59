// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a settings file. The reader must agree with the field parser, and a
// table that the writer accepts must come back from the written file with the same eight
// values, whether the table was read from the bytes or made of their first eight fields.
#include "fuzzing.h"

#include "settings/settingsfile.h"
#include "settings/settingstable.h"

#include "calc/numbers.h"

#include <QMetaType>
#include <array>
#include <cmath>
#include <optional>

using fuzzing::require;
using settings::SettingsError;
using settings::SettingsTable;

namespace {

enum class Kind { Text, Number, Whole };

struct Setting {
    const QString &key;
    Kind kind;
};

const std::array<Setting, 8> eight{{
    {settings::key::direction, Kind::Text},
    {settings::key::method, Kind::Text},
    {settings::key::taUnits, Kind::Text},
    {settings::key::batchUnits, Kind::Text},
    {settings::key::batchSize, Kind::Number},
    {settings::key::tartaric, Kind::Whole},
    {settings::key::malic, Kind::Whole},
    {settings::key::citric, Kind::Whole},
}};

bool isText(const QVariant &v) {
    return v.typeId() == QMetaType::QString;
}

bool isNumber(const QVariant &v) {
    return v.typeId() == QMetaType::Double && std::isfinite(v.toDouble());
}

bool sameValue(const QVariant &a, const QVariant &b) {
    if (a.typeId() != b.typeId())
        return false;
    return isText(a) ? a.toString() == b.toString() : a.toDouble() == b.toDouble();
}

// What the table holds, as the number the writer is meant to write.
std::optional<double> numberIn(const QVariant &v, const QLocale &locale) {
    if (isText(v))
        return numbers::toDouble(v.toString(), locale);
    return v.toDouble();
}

// Seven significant digits of a single: off by at most a float's rounding plus half a unit
// in the seventh digit, and by half the smallest subnormal near zero.
bool closeTo(double written, double meant) {
    const double scale = std::max(std::fabs(written), std::fabs(meant));
    return std::fabs(written - meant) <= 6.5e-7 * scale + 1e-45;
}

QString settingDetail(const QString &key, const QVariant &before, const QVariant &after) {
    return QStringLiteral("%1: %2 came back as %3")
        .arg(key, fuzzing::shown(before.toString()), fuzzing::shown(after.toString()));
}

void checkReader(const QList<QVariant> &fields, const SettingsTable &table, int fault) {
    for (const QVariant &f : fields)
        require(isText(f) || isNumber(f), "a field is a text or a finite number");
    require(fault == 0 || fault == SettingsError::OddFieldCount ||
                fault == SettingsError::DuplicateKey,
            "reading fails only on an odd field count or a repeated key");
    // Reading stops at a repeated key, so the parity decides the outcome only when no key
    // repeats before the end.
    const qsizetype pairs = fields.size() / 2;
    const bool odd = fields.size() % 2 != 0;
    const auto counts = [&] {
        return QStringLiteral("%1 fields, %2 settings read, fault %3")
            .arg(fields.size())
            .arg(table.size())
            .arg(fault);
    };
    if (fault == SettingsError::OddFieldCount)
        require(odd && table.size() == pairs,
                "an odd field count is reported, after every complete pair", counts);
    if (fault == SettingsError::DuplicateKey) {
        require(table.size() < pairs, "a repeated key is reported at a complete pair", counts);
        const QVariant &key = fields.at(table.size() * 2);
        require(!isText(key) || table.contains(key.toString()),
                "a repeated key is one the table already holds", counts);
    }
    if (fault != 0)
        return;
    require(!odd && table.size() == pairs,
            "a file that reads has an even field count and every pair in the table", counts);
    // A key field that reads as a number is kept by its raw text, which the parsed field
    // no longer shows; those pairs are checked by the count only.
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        if (!isText(fields.at(i)))
            continue;
        const QVariant value = table.lookup(fields.at(i).toString());
        require(sameValue(value, fields.at(i + 1)), "a pair's value is stored as parsed",
                [&] { return settingDetail(fields.at(i).toString(), fields.at(i + 1), value); });
    }
}

void checkFile(const QByteArray &file) {
    int lines = 0;
    for (qsizetype i = 0; i < file.size(); ++i) {
        const char c = file.at(i);
        if (c == '\r') {
            require(i + 1 < file.size() && file.at(i + 1) == '\n', "a line ends in CR LF");
            ++lines;
            ++i;
            continue;
        }
        require(c == '\t' || (c >= 0x20 && c < 0x7f), "a written file holds printable ASCII only");
    }
    require(lines == 8 && file.endsWith("\r\n"), "a written file holds eight lines");
}

void checkRoundTrip(const SettingsTable &source, const QLocale &locale) {
    QByteArray file;
    try {
        file = settings::settingsFileBytes(source, locale);
    } catch (const SettingsError &e) {
        bool missing = false;
        for (const Setting &s : eight)
            missing = missing || !source.contains(s.key);
        require(e.number() == SettingsError::NotANumber ||
                    e.number() == SettingsError::UnwritableText ||
                    e.number() == SettingsError::KeyMissing,
                "the writer fails only on a missing key, a number or a text");
        // The records are converted in order, so another fault may come first.
        require(missing || e.number() != SettingsError::KeyMissing,
                "the writer reports a missing key only when one is missing");
        return;
    }
    for (const Setting &s : eight)
        require(source.contains(s.key), "the writer needs all eight settings");
    checkFile(file);

    SettingsTable back;
    try {
        settings::readSettings(file, back);
    } catch (const SettingsError &) {
        fuzzing::fail("a written file reads back", QString::fromLatin1(file));
    }
    require(back.size() == qsizetype(eight.size()), "a written file holds eight settings");

    for (const Setting &s : eight) {
        const QVariant before = source.lookup(s.key);
        const QVariant after = back.lookup(s.key);
        const auto detail = [&] { return settingDetail(s.key, before, after); };
        if (s.kind == Kind::Text) {
            require(isText(after) && after.toString() == before.toString(),
                    "a text setting reads back unchanged", detail);
            continue;
        }
        const auto meant = numberIn(before, locale);
        require(meant.has_value(), "the writer writes only what reads as a number", detail);
        require(isNumber(after), "a number setting reads back as a number", detail);
        const double written = after.toDouble();
        if (s.kind == Kind::Number) {
            require(closeTo(written, *meant), "the batch size reads back as written", detail);
        } else {
            require(std::trunc(written) == written, "a share reads back whole", detail);
            require(closeTo(written, std::round(*meant)),
                    "a share reads back rounded half away from zero", detail);
        }
    }

    // Writing what was read writes the same texts and, within one unit of the seventh digit,
    // the same numbers: near a power of ten a single can fall closer to another seven-digit
    // figure than the one it was read from (8600000000 is written 8600001000).
    const QByteArray again = settings::settingsFileBytes(back, QLocale::c());
    SettingsTable backAgain;
    settings::readSettings(again, backAgain);
    for (const Setting &s : eight) {
        const QVariant first = back.lookup(s.key);
        const QVariant second = backAgain.lookup(s.key);
        require(s.kind == Kind::Text
                    ? sameValue(first, second)
                    : isNumber(second) && closeTo(second.toDouble(), first.toDouble()),
                "writing a read-back file gives the same settings",
                [&] { return settingDetail(s.key, first, second); });
    }
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
    checkReader(fields, table, fault);

    // Any byte changes the locale that texts are read by when numbers are written.
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum += data[i];
    const QLocale &locale = fuzzing::localeFor(uint8_t(sum));

    if (fault == 0)
        checkRoundTrip(table, locale);

    // The fields in order as the eight settings, whatever keys the file gave them: the
    // writer then meets every kind of value in every place.
    if (fields.size() >= qsizetype(eight.size())) {
        SettingsTable chosen;
        for (size_t i = 0; i < eight.size(); ++i)
            chosen.add(eight[i].key, fields.at(qsizetype(i)));
        checkRoundTrip(chosen, locale);
    }
    return 0;
}
