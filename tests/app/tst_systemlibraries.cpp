// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/systemLibraries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace titrova;

namespace {

// A library folder as Debian lays it: each soname linked to the file named with its version;
// "libfoo.so.1=" is the file alone, under its soname.
void lay(const QString &folder, const QStringList &libraries) {
    QDir().mkpath(folder);
    for (const QString &library : libraries) {
        const QString soname = library.section(QLatin1Char('='), 0, 0),
                      version = library.section(QLatin1Char('='), 1);
        const QString file = version.isEmpty() ? soname : soname + QLatin1Char('.') + version;
        QFile(folder + QLatin1Char('/') + file).open(QIODevice::WriteOnly);
        if (!version.isEmpty())
            QFile::link(file, folder + QLatin1Char('/') + soname);
    }
}

QStringList list(const char *text) {
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestSystemLibraries : public QObject {
    Q_OBJECT
private slots:
    void chooses_data() {
        QTest::addColumn<QStringList>("bundled");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QStringList>("preloaded");
        const char *glib74 = "libglib-2.0.so.0=7400.6";
        QTest::newRow("newer glib")
            << list(glib74) << list("libglib-2.0.so.0=8400.4 libgobject-2.0.so.0=8400.4")
            << list("libglib-2.0.so.0");
        QTest::newRow("same glib") << list(glib74) << list(glib74) << list("libglib-2.0.so.0");
        QTest::newRow("older glib") << list(glib74) << list("libglib-2.0.so.0=7200.4") << list("");
        QTest::newRow("older micro")
            << list("libglib-2.0.so.0=7400.10") << list("libglib-2.0.so.0=7400.9") << list("");
        QTest::newRow("numbers, not text")
            << list("libz.so.1=2.13 liblz4.so.1=9.4") << list("libz.so.1=3.1 liblz4.so.1=10.0")
            << list("liblz4.so.1 libz.so.1");
        QTest::newRow("none in the system") << list(glib74) << list("") << list("");
        QTest::newRow("each library by itself")
            << list("libharfbuzz.so.0=60000.0 libfreetype.so.6=20.2")
            << list("libharfbuzz.so.0=61020.0 libfreetype.so.6=18.3") << list("libharfbuzz.so.0");
        QTest::newRow("whole family") << list("libglib-2.0.so.0=7400.6 libgobject-2.0.so.0=7400.6")
                                      << list("libglib-2.0.so.0=8400.4 libgobject-2.0.so.0=8400.4")
                                      << list("libglib-2.0.so.0 libgobject-2.0.so.0");
        QTest::newRow("family half there")
            << list("libglib-2.0.so.0=7400.6 libgobject-2.0.so.0=7400.6")
            << list("libglib-2.0.so.0=8400.4") << list("");
        QTest::newRow("same version elsewhere")
            << list("libz.so.1=2.13 libglib-2.0.so.0=7400.6")
            << list("libz.so.1=2.13 libglib-2.0.so.0=7400.6") << list("libglib-2.0.so.0");
        QTest::newRow("never Qt") << list("libQt6Core.so.6=4.2") << list("libQt6Core.so.6=8.2")
                                  << list("");
        QTest::newRow("no version to compare")
            << list("libexpat.so.1= libxcb.so.1=1.0") << list("libexpat.so.1=13.0 libxcb.so.1=")
            << list("");
    }
    void chooses() {
        QFETCH(QStringList, bundled);
        QFETCH(QStringList, system);
        QFETCH(QStringList, preloaded);
        QTemporaryDir dir;
        const QString ours = dir.filePath(QStringLiteral("lib")),
                      theirs = dir.filePath(QStringLiteral("system"));
        lay(ours, bundled);
        lay(theirs, system);
        for (QString &soname : preloaded)
            soname.prepend(theirs + QLatin1Char('/'));
        QCOMPARE(QString::fromStdString(
                     systemLibraries::preload(ours.toStdString(), theirs.toStdString())),
                 preloaded.join(QLatin1Char(':')));
    }

    void version() {
        QTemporaryDir dir;
        const auto versionOf = [&](const char *file) {
            const QString link = dir.filePath(QStringLiteral("libglib-2.0.so.0"));
            QFile::remove(link);
            QFile::link(QString::fromLatin1(file), link);
            return systemLibraries::linkedVersion(link.toStdString());
        };
        QCOMPARE(versionOf("libglib-2.0.so.0.7400.6"), (std::vector<int>{7400, 6}));
        QCOMPARE(versionOf("sub/libglib-2.0.so.0.12"), (std::vector<int>{12}));
        for (const char *file : {"libglib-2.0.so.0.x.1", "libglib-2.0.so.0.74.", "libglib-2.0.so.0",
                                 "libglib-2.0.so.0..1", "libgobject-2.0.so.0.7400.6"})
            QVERIFY2(versionOf(file).empty(), file);
    }
};

QTEST_GUILESS_MAIN(TestSystemLibraries)
#include "tst_systemlibraries.moc"
