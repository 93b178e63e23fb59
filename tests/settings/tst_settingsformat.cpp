// SPDX-License-Identifier: GPL-3.0-or-later
// What the settings file says, apart from any file system.
#include "calc/numbers.h"
#include "tests/settings/settingsTest.h"

namespace {

// "n:5" for a number, "t:5" for a text: a field's kind matters as much as its content.
QString describe(const QVariant &v) {
    return v.typeId() == QMetaType::Double
               ? u"n:"_s + QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest)
               : u"t:"_s + v.toString();
}

} // namespace

class tst_settingsformat : public QObject {
    Q_OBJECT

private slots:
    // Bytes => their fields, joined by '|': blanks around fields, empty lines, every line end, the
    // rest after a quote, a quote across lines or unterminated, empty fields, NUL and Latin-1,
    // plain numbers and texts that only look like numbers.
    void fields() {
        const std::pair<QByteArray, QString> rows[] = {
            {builtInFile,
             u"t:r_l|t:raise|t:method|t:Acid Blend|t:acidUnits|t:g/L|t:batchunits|"
             "t:U.S. Gal.|t:batchSize|n:5|t:blend_t|n:50|t:blend_m|n:30|t:blend_c|n:20"_s},
            {""_ba, u""_s},
            {" \t\"a\" ,\t 5 \t,  b c  \r\n"_ba, u"t:a|n:5|t:b c"_s},
            {"a,1\r\n\r\n\n  \r\nb,2\r\n\r\n"_ba, u"t:a|n:1|t:b|n:2"_s},
            {"a\rb\nc\r\nd\n\re"_ba, u"t:a|t:b|t:c|t:d|t:e"_s},
            {"\"a\"xy,\"b\" \"c\"\nd"_ba, u"t:a|t:b|t:d"_s},
            {"\"a,\r\nb\",c"_ba, u"t:a,\r\nb|t:c"_s},
            {"k,\"v\r\nw,x"_ba, u"t:k|t:v\r\nw,x"_s},
            {",\"\",\r\nb"_ba, u"t:|t:|t:|t:b"_s},
            {"a\0b,\"S\xe4ure\""_ba, u"t:a\0b|t:S\u00e4ure"_s},
            {"-2.5,+3,.5,5.,-0"_ba, u"n:-2.5|n:3|n:0.5|n:5|n:0"_s},
            {"\"5\",1e5,1.2.3,5 6,.,-,0x1,inf,5L"_ba,
             u"t:5|t:1e5|t:1.2.3|t:5 6|t:.|t:-|t:0x1|t:inf|t:5L"_s},
            {QByteArray(400, '9'), u"t:"_s + QString(400, u'9')}}; // beyond a double
        for (const auto &[bytes, fields] : rows) {
            QStringList got;
            for (const QVariant &v : settings::parseFields(bytes))
                got << describe(v);
            QCOMPARE(got.join(u'|'), fields);
        }
    }

    void largeInput() {
        // Tens of megabytes of a damaged file: linear, and never past the end.
        QCOMPARE(settings::parseFields("k,12.5\r\n"_ba.repeated(2'000'000)).size(), 4'000'000);
        const QList<QVariant> one = settings::parseFields('"' + QByteArray(30'000'000, 'x'));
        QCOMPARE(one.size() == 1 ? one.front().toString().size() : 0, 30'000'000);
    }

    // Bytes => error, the size of the table (what was read before a fault stays), and an entry
    // looked up afterwards.
    void readTable() {
        const std::pair<QByteArray, const char *> rows[] = {
            {builtInFile, "0 8 BatchUnits=t:U.S. Gal."},
            {"\"BLEND_C\",20,\"r_L\",\"raise\"\n", "0 2 blend_c=n:20"}, // other case and order
            {"\xEF\xBB\xBF" + builtInFile, "0 8 r_l=t:raise"},          // a byte-order mark
            {"1.50,\"x\"", "0 1 1.50=t:x"},                             // a number as key
            {"\"r_l\",\"raise\"\r\n\"method\"\r\n", "2 1 r_l=t:raise"}, // an odd field count
            {"\"batchunits\",\"Litres\"\r\n\"batchUnits\",\"Imp. Gal.\"\r\n",
             "3 1 batchUnits=t:Litres"}}; // the same key in another case
        for (const auto &[bytes, expected] : rows) {
            SettingsTable table;
            const int error =
                failure([&, &bytes = bytes] { settings::readSettings(bytes, table); }).first;
            const QString entry = QString::fromLatin1(expected).section(u' ', 2);
            QCOMPARE(u"%1 %2 %3="_s.arg(error).arg(table.size()).arg(entry.section(u'=', 0, 0)) +
                         describe(table.lookup(entry.section(u'=', 0, 0))),
                     QString::fromLatin1(expected));
        }
    }

    // One value changed in the built-in table (none: the key removed): the file's line for it,
    // or the writer's refusal. Texts are read as numbers by the locale.
    void writtenBytes() {
        const int nan = SettingsError::NotANumber, bad = SettingsError::UnwritableText;
        const std::tuple<const char *, const char *, QVariant, QVariant> rows[] = {
            {"en_US", "r_l", u"raise"_s, "\"r_l\",\"raise\""_ba},
            {"de_DE", "batchSize", u"1.234,50"_s, "\"batchSize\",1234.5"_ba},
            {"de_DE", "batchSize", 1234.5, "\"batchSize\",1234.5"_ba},
            {"de_DE", "blend_t", u"33,5"_s, "\"blend_t\",34"_ba},
            {"en_US", "batchSize", u"five"_s, nan},
            {"en_US", "batchSize", 1e39, nan},
            {"en_US", "blend_m", u""_s, nan},
            {"en_US", "method", u"Acid \"Blend\""_s, bad},
            {"en_US", "acidUnits", u"g/\u2113"_s, bad},
            {"en_US", "blend_c", QVariant(), int(SettingsError::KeyMissing)}};
        for (const auto &[locale, key, value, line] : rows) {
            SettingsTable table;
            settings::readSettings(builtInFile, table);
            table.store(u"batchSize"_s,
                        numbers::standardFromDouble(5, QLocale(QString::fromLatin1(locale))));
            value.isValid() ? table.store(QString::fromLatin1(key), value)
                            : table.remove(QString::fromLatin1(key));
            QByteArray bytes;
            const QLocale written(QString::fromLatin1(locale));
            const int error =
                failure([&] { bytes = settings::settingsFileBytes(table, written); }).first;
            QByteArrayList expected = builtInFile.split('\n');
            for (QByteArray &l : expected)
                l = l.toLower().startsWith('"' + QByteArray(key).toLower() + '"')
                        ? line.toByteArray() + '\r'
                        : l;
            // The row named on both sides, so that a failure says which one.
            const QString row =
                u"%1 %2=%3: "_s.arg(QLatin1String(locale), QLatin1String(key), describe(value));
            QCOMPARE(row + (error ? QString::number(error) : QString::fromLatin1(bytes)),
                     row + (line.typeId() == QMetaType::Int
                                ? line.toString()
                                : QString::fromLatin1(expected.join('\n'))));
        }
    }
};

QTEST_GUILESS_MAIN(tst_settingsformat)
#include "tst_settingsformat.moc"
