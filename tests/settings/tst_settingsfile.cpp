// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/numbers.h"
#include "settings/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using settings::SettingsError;
using settings::SettingsTable;

namespace {

const QByteArray builtInFile = "\"r_l\",\"raise\"\r\n\"method\",\"Acid Blend\"\r\n"
                               "\"acidUnits\",\"g/L\"\r\n\"batchunits\",\"U.S. Gal.\"\r\n"
                               "\"batchSize\",5\r\n\"blend_t\",50\r\n\"blend_m\",30\r\n"
                               "\"blend_c\",20\r\n"_ba;

// As the dialog leaves it: the size as the locale shows it.
SettingsTable builtInTable(const QLocale &locale) {
    SettingsTable t;
    settings::readSettings(builtInFile, t);
    t.store(u"batchSize"_s, numbers::standardFromDouble(5, locale));
    return t;
}

// "n:5" for a number, "t:5" for a text: a field's kind matters as much as its content.
QString describe(const QVariant &v) {
    if (v.typeId() == QMetaType::Double)
        return u"n:"_s + QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    return u"t:"_s + v.toString();
}

int failure(const std::function<void()> &f) {
    try {
        f();
    } catch (const SettingsError &e) {
        return e.number();
    }
    return 0;
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class tst_settingsfile : public QObject {
    Q_OBJECT

private slots:
    void fields_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fields"); // joined with "|"

        QTest::newRow("built-in file")
            << builtInFile
            << u"t:r_l|t:raise|t:method|t:Acid Blend|t:acidUnits|t:g/L|t:batchunits|t:U.S. Gal.|"
               "t:batchSize|n:5|t:blend_t|n:50|t:blend_m|n:30|t:blend_c|n:20"_s;
        QTest::newRow("empty") << ""_ba << u""_s;
        QTest::newRow("blanks around fields")
            << " \t\"a\" ,\t 5 \t,  b c  \r\n"_ba << u"t:a|n:5|t:b c"_s;
        QTest::newRow("empty lines between")
            << "a,1\r\n\r\n\n  \r\nb,2\r\n\r\n"_ba << u"t:a|n:1|t:b|n:2"_s;
        QTest::newRow("CR, LF, CRLF, LFCR") << "a\rb\nc\r\nd\n\re"_ba << u"t:a|t:b|t:c|t:d|t:e"_s;
        QTest::newRow("rest after quote dropped")
            << "\"a\"xy,\"b\" \"c\"\nd"_ba << u"t:a|t:b|t:d"_s;
        QTest::newRow("quote spans lines") << "\"a,\r\nb\",c"_ba << u"t:a,\r\nb|t:c"_s;
        QTest::newRow("unterminated quote") << "k,\"v\r\nw,x"_ba << u"t:k|t:v\r\nw,x"_s;
        QTest::newRow("empty fields") << ",\"\","_ba << u"t:|t:|t:"_s;
        QTest::newRow("comma before line end") << "a,\r\nb"_ba << u"t:a|t:|t:b"_s;
        QTest::newRow("NUL bytes") << "a\0b,\"\0\""_ba << u"t:a\0b|t:\0"_s;
        QTest::newRow("Latin-1") << "\"S\xe4ure\",\xff"_ba << u"t:S\u00e4ure|t:\u00ff"_s;
        QTest::newRow("signs and points") << "-2.5,+3,.5,5.,-0"_ba << u"n:-2.5|n:3|n:0.5|n:5|n:0"_s;
        QTest::newRow("quoted number") << "\"5\""_ba << u"t:5"_s;
        QTest::newRow("not plain numbers") << "1e5,1.2.3,5 6,.,-,0x1,inf,5L"_ba
                                           << u"t:1e5|t:1.2.3|t:5 6|t:.|t:-|t:0x1|t:inf|t:5L"_s;
        QTest::newRow("beyond a double") << QByteArray(400, '9') << u"t:"_s + QString(400, u'9');
    }

    void fields() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fields);
        QStringList got;
        for (const QVariant &v : settings::parseFields(bytes))
            got << describe(v);
        QCOMPARE(got.join(u'|'), fields);
    }

    void largeInput() {
        // Tens of megabytes of a damaged file: linear, and never past the end.
        QCOMPARE(settings::parseFields("k,12.5\r\n"_ba.repeated(2'000'000)).size(), 4'000'000);
        const QList<QVariant> one = settings::parseFields('"' + QByteArray(30'000'000, 'x'));
        QCOMPARE(one.size(), 1);
        QCOMPARE(one.front().toString().size(), 30'000'000);
    }

    void readTable_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("entry"); // key=value, looked up afterwards

        QTest::newRow("built-in file") << builtInFile << 0 << 8 << u"BatchUnits=t:U.S. Gal."_s;
        QTest::newRow("other case, order, two a line")
            << "\"BLEND_C\",20,\"r_L\",\"raise\"\n"_ba << 0 << 2 << u"blend_c=n:20"_s;
        QTest::newRow("empty") << ""_ba << 0 << 0 << QString();
        QTest::newRow("UTF-8 byte-order mark")
            << "\xEF\xBB\xBF"_ba + builtInFile << 0 << 8 << u"r_l=t:raise"_s;
        QTest::newRow("number as key") << "1.50,\"x\""_ba << 0 << 1 << u"1.50=t:x"_s;
        QTest::newRow("odd field count")
            << "\"r_l\",\"raise\"\r\n\"method\"\r\n"_ba << int(SettingsError::OddFieldCount) << 1
            << u"r_l=t:raise"_s;
        QTest::newRow("same key, other case")
            << "\"batchunits\",\"Litres\"\r\n\"batchUnits\",\"Imp. Gal.\"\r\n"_ba
            << int(SettingsError::DuplicateKey) << 1 << u"batchUnits=t:Litres"_s;
    }

    void readTable() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        QFETCH(int, size);
        QFETCH(QString, entry);

        SettingsTable table;
        QCOMPARE(failure([&] { settings::readSettings(bytes, table); }), error);
        // What was read before a fault stays.
        QCOMPARE(table.size(), size);
        if (entry.isEmpty())
            return;
        const QString key = entry.section(u'=', 0, 0);
        QVERIFY(table.contains(key));
        QCOMPARE(describe(table.lookup(key)), entry.section(u'=', 1));
    }

    void readFailures() {
        QTemporaryDir dir;
        SettingsTable table;
        const auto fails = [&table](const QString &path) {
            return failure([&] { settings::readSettingsFile(path, table); }) ==
                   SettingsError::CannotRead;
        };
        QVERIFY(fails(dir.filePath(u"missing.cfg"_s)));
        QVERIFY(fails(dir.path()));
        QFile huge(dir.filePath(u"huge.cfg"_s));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(64 * 1024 * 1024 + 1));
        QVERIFY(fails(huge.fileName()));
#ifdef Q_OS_UNIX
        // Neither may hang: a pipe waits for a writer, a device never ends.
        const QString fifo = dir.filePath(u"fifo.cfg"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(fails(fifo));
        QVERIFY(fails(u"/dev/zero"_s));
#endif
        QCOMPARE(table.size(), 0);
    }

    void writtenBytes_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value"); // invalid: the key is removed
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("error");

        const auto row = [](const char *name, const char *locale, const QString &key,
                            const QVariant &value, const QByteArray &line, int error = 0) {
            QTest::newRow(name) << QString::fromLatin1(locale) << key << value << line << error;
        };
        const int nan = SettingsError::NotANumber;
        const int bad = SettingsError::UnwritableText;
        row("built-in defaults", "en_US", u"r_l"_s, u"raise"_s, "\"r_l\",\"raise\"");
        row("German size", "de_DE", u"batchSize"_s, u"1.234,50"_s, "\"batchSize\",1234.5");
        row("size from the file", "de_DE", u"batchSize"_s, 1234.5, "\"batchSize\",1234.5");
        row("size of text", "en_US", u"batchSize"_s, u"five"_s, {}, nan);
        row("size beyond a single", "en_US", u"batchSize"_s, 1e39, {}, nan);
        row("share 33.5", "de_DE", u"blend_t"_s, u"33,5"_s, "\"blend_t\",34");
        row("share of text", "en_US", u"blend_m"_s, u""_s, {}, nan);
        row("quote in a text", "en_US", u"method"_s, u"Acid \"Blend\""_s, {}, bad);
        row("non-ASCII text", "en_US", u"acidUnits"_s, u"g/\u2113"_s, {}, bad);
        row("missing key", "en_US", u"blend_c"_s, QVariant(), {}, SettingsError::KeyMissing);
    }

    void writtenBytes() {
        QFETCH(QString, locale);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(QByteArray, line);
        QFETCH(int, error);

        SettingsTable table = builtInTable(QLocale(locale));
        if (value.isValid())
            table.store(key, value);
        else
            table.remove(key);
        QByteArray bytes;
        QCOMPARE(failure([&] { bytes = settings::settingsFileBytes(table, QLocale(locale)); }),
                 error);
        if (error)
            return;
        QByteArrayList expected = builtInFile.split('\n');
        for (QByteArray &l : expected) {
            if (l.toLower().startsWith('"' + key.toLatin1().toLower() + '"'))
                l = line + '\r';
        }
        QCOMPARE(bytes, expected.join('\n'));
        // And the reader takes back what the writer wrote.
        SettingsTable back;
        settings::readSettings(bytes, back);
        QCOMPARE(back.size(), 8);
    }

    void writeFailures_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("path is a folder") << false;
        QTest::newRow("read-only folder") << true;
    }

    void writeFailures() {
        QFETCH(bool, readOnly);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"settings.cfg"_s);
        const QByteArray old = "\"r_l\",\"lower\"\r\n"_ba;
        QVERIFY(readOnly ? writeFile(path, old) : QDir(dir.path()).mkdir(u"settings.cfg"_s));
        const auto rx = QFile::ReadOwner | QFile::ExeOwner;
        QVERIFY(QFile::setPermissions(dir.path(), readOnly ? rx : rx | QFile::WriteOwner));
        QString description;
        try {
            settings::writeSettingsFile(path, builtInFile);
        } catch (const SettingsError &e) {
            QCOMPARE(e.number(), int(SettingsError::CannotWrite));
            description = e.description();
        }
        QFile::setPermissions(dir.path(), rx | QFile::WriteOwner);
        if (readOnly && description.isEmpty())
            QSKIP("Running with rights that write into any folder");
        QVERIFY(description.contains(path));
        QFile f(path);
        QVERIFY(!readOnly || (f.open(QIODevice::ReadOnly) && f.readAll() == old));
        // No temporary file left behind either.
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{u"settings.cfg"_s});
    }

#ifdef Q_OS_UNIX
    void writeThroughLink() {
        QTemporaryDir dir;
        const QString link = dir.filePath(u"settings.cfg"_s);
        const QString real = dir.filePath(u"real.cfg"_s);
        QVERIFY(writeFile(real, "\"r_l\",\"lower\"\r\n"_ba.repeated(20)));
        QCOMPARE(::symlink("real.cfg", QFile::encodeName(link).constData()), 0);
        settings::writeSettingsFile(link, builtInFile);
        // The link stays, and what it points to is replaced whole.
        QCOMPARE(QFileInfo(link).symLinkTarget(), real);
        QFile f(real);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), builtInFile);
        f.close();

        QVERIFY(f.remove() && QDir(dir.path()).mkdir(u"real.cfg"_s));
        QString description;
        try {
            settings::writeSettingsFile(link, builtInFile);
        } catch (const SettingsError &e) {
            description = e.description();
        }
        QVERIFY2(description.startsWith(u"Cannot write "_s + real + u": "_s),
                 qPrintable(description));
    }
#endif
};

QTEST_GUILESS_MAIN(tst_settingsfile)
#include "tst_settingsfile.moc"
