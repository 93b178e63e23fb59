// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/defaults.h"
#include "settings/settingsfile.h"

#include <QTest>
#include <utility>

using namespace Qt::StringLiterals;
using catalogue::Direction;
using settings::SettingsError;

namespace {

// Writes down every call, and refuses a method that its direction's list does not hold,
// as a real pick-only list would.
class RecordingTarget : public settings::DefaultsTarget {
public:
    QStringList calls;

    void selectDirection(Direction d) override {
        m_direction = d;
        calls << (d == Direction::Raise ? u"direction raise"_s : u"direction lower"_s);
    }
    bool selectMethod(const QString &caption) override {
        const bool held = catalogue::methodCaptions(m_direction).contains(caption);
        calls << (held ? u"method "_s : u"refused "_s) + caption;
        return held;
    }
    void selectTaUnits(const QString &caption) override { calls << u"ta "_s + caption; }
    void selectBatchUnits(const QString &caption) override { calls << u"units "_s + caption; }
    void setBatchSizeText(const QString &text) override { calls << u"size "_s + text; }
    void setTartaricText(const QString &text) override { calls << u"tartaric "_s + text; }
    void setMalicText(const QString &text) override { calls << u"malic "_s + text; }
    void setCitricText(const QString &text) override { calls << u"citric "_s + text; }

private:
    Direction m_direction = Direction::None;
};

using Change = std::pair<const char *, const char *>; // key, value as written; nullptr: no record

// The built-in settings file with some records changed or left out.
QByteArray fileWith(std::initializer_list<Change> changes) {
    QList<Change> records = {{"r_l", "\"raise\""},     {"method", "\"Acid Blend\""},
                             {"acidUnits", "\"g/L\""}, {"batchunits", "\"U.S. Gal.\""},
                             {"batchSize", "5"},       {"blend_t", "50"},
                             {"blend_m", "30"},        {"blend_c", "20"}};
    for (const Change &c : changes) {
        for (Change &r : records) {
            if (qstricmp(r.first, c.first) == 0)
                r.second = c.second;
        }
    }
    QByteArray out;
    for (const Change &r : std::as_const(records)) {
        if (r.second)
            out += '"' + QByteArray(r.first) + "\"," + r.second + "\r\n";
    }
    return out;
}

const QStringList builtInCalls = {u"direction raise"_s, u"method Acid Blend"_s, u"ta g/L"_s,
                                  u"units U.S. Gal."_s, u"size 5.00"_s,         u"tartaric 50"_s,
                                  u"malic 30"_s,        u"citric 20"_s};

// The built-in calls with some replaced (by their first word) or, for a bare word, dropped.
QStringList callsWith(const QStringList &changes) {
    QStringList calls = builtInCalls;
    for (const QString &change : changes) {
        const QString word = change.section(u' ', 0, 0);
        for (qsizetype i = 0; i < calls.size(); ++i) {
            if (calls.at(i).section(u' ', 0, 0) != word)
                continue;
            if (change == word)
                calls.removeAt(i);
            else
                calls[i] = change;
            break;
        }
    }
    return calls;
}

} // namespace

class tst_settingsdefaults : public QObject {
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
};

void tst_settingsdefaults::apply_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("error");

    const auto row = [](const char *name, const QByteArray &file, const QStringList &calls,
                        int error = 0, const char *locale = "en_US") {
        QTest::newRow(name) << QString::fromLatin1(locale) << file << calls << error;
    };

    row("built-in file", fileWith({}), builtInCalls);
    row("values stored as text", fileWith({{"batchSize", "\"5.00\""}, {"blend_t", "\"50\""}}),
        builtInCalls);

    // Direction and method.
    row("lower with a lowering method",
        fileWith({{"r_l", "\"lower\""}, {"method", "\"Calcium Carbonate\""}}),
        callsWith({u"direction lower"_s, u"method Calcium Carbonate"_s}));
    row("capital R selects nothing, the rest applies", fileWith({{"r_l", "\"Raise\""}}),
        callsWith({u"direction"_s, u"method"_s}));
    row("no method needed without a direction", fileWith({{"r_l", "\"\""}, {"method", nullptr}}),
        callsWith({u"direction"_s, u"method"_s}));
    row("method refused by the list", fileWith({{"r_l", "\"lower\""}}),
        {u"direction lower"_s, u"refused Acid Blend"_s}, SettingsError::MethodRefused);

    // Units: only the captions the lists hold, exactly.
    row("percent", fileWith({{"acidUnits", "\"%\""}}), callsWith({u"ta %"_s}));
    row("TA units in another case", fileWith({{"acidUnits", "\"G/L\""}}), callsWith({u"ta"_s}));
    row("litres", fileWith({{"batchunits", "\"Litres\""}}), callsWith({u"units Litres"_s}));
    row("hectolitres never saved", fileWith({{"batchunits", "\"Hectolitres\""}}),
        callsWith({u"units"_s}));

    // Batch size in the standard format of the locale.
    row("size from the file, English", fileWith({{"batchSize", "1234.5"}}),
        callsWith({u"size 1,234.50"_s}));
    row("size from the file, German", fileWith({{"batchSize", "1234.5"}}),
        callsWith({u"size 1.234,50"_s}), 0, "de_DE");
    row("size as German text", fileWith({{"batchSize", "\"1.234,5\""}}),
        callsWith({u"size 1.234,50"_s}), 0, "de_DE");
    row("size that is no number goes in as it is", fileWith({{"batchSize", "\"a lot\""}}),
        callsWith({u"size a lot"_s}));

    // Shares as whole numbers.
    row("share 33.5", fileWith({{"blend_t", "33.5"}}), callsWith({u"tartaric 34"_s}));
    row("share zero", fileWith({{"blend_m", "0"}}), callsWith({u"malic 0"_s}));
    row("share rounding to zero", fileWith({{"blend_c", "-0.4"}}), callsWith({u"citric 0"_s}));
    row("share as text", fileWith({{"blend_t", "\"2.5\""}}), callsWith({u"tartaric 3"_s}));
    row("share as German text", fileWith({{"blend_m", "\"1.000,5\""}}),
        callsWith({u"size 5,00"_s, u"malic 1001"_s}), 0, "de_DE");
    row("share that is no number", fileWith({{"blend_c", "\"x\""}}), callsWith({u"citric x"_s}));

    // A missing key stops the application where it is looked up.
    row("empty file", {}, {}, SettingsError::KeyMissing);
    row("no method after a direction", fileWith({{"method", nullptr}}), {u"direction raise"_s},
        SettingsError::KeyMissing);
    row("no TA units", fileWith({{"acidUnits", nullptr}}), builtInCalls.mid(0, 2),
        SettingsError::KeyMissing);
    row("no citric share", fileWith({{"blend_c", nullptr}}), builtInCalls.mid(0, 7),
        SettingsError::KeyMissing);
}

void tst_settingsdefaults::apply() {
    QFETCH(QString, locale);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, calls);
    QFETCH(int, error);

    settings::SettingsTable table;
    settings::readSettings(file, table);
    RecordingTarget target;
    int thrown = 0;
    try {
        settings::applyDefaults(table, target, QLocale(locale));
    } catch (const SettingsError &e) {
        thrown = e.number();
    }
    QCOMPARE(target.calls, calls);
    QCOMPARE(thrown, error);
}

QTEST_GUILESS_MAIN(tst_settingsdefaults)
#include "tst_settingsdefaults.moc"
