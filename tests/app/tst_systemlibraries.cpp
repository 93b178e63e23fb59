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

} // namespace

class TestSystemLibraries : public QObject {
    Q_OBJECT
private slots:
    // Rows of "bundled | system | preloaded", each a list of libraries.
    void chooses_data() {
        QTest::addColumn<QStringList>("row");
        const char *const rows = R"(
newer glib: libglib-2.0.so.0=7400.6 | libglib-2.0.so.0=8400.4 libgobject-2.0.so.0=8400.4 | libglib-2.0.so.0
same glib: libglib-2.0.so.0=7400.6 | libglib-2.0.so.0=7400.6 | libglib-2.0.so.0
older glib: libglib-2.0.so.0=7400.6 | libglib-2.0.so.0=7200.4 |
older micro: libglib-2.0.so.0=7400.10 | libglib-2.0.so.0=7400.9 |
numbers, not text: libz.so.1=2.13 liblz4.so.1=9.4 | libz.so.1=3.1 liblz4.so.1=10.0 | liblz4.so.1 libz.so.1
none in the system: libglib-2.0.so.0=7400.6 |  |
each library by itself: libharfbuzz.so.0=60000.0 libfreetype.so.6=20.2 | libharfbuzz.so.0=61020.0 libfreetype.so.6=18.3 | libharfbuzz.so.0
whole family: libglib-2.0.so.0=7400.6 libgobject-2.0.so.0=7400.6 | libglib-2.0.so.0=8400.4 libgobject-2.0.so.0=8400.4 | libglib-2.0.so.0 libgobject-2.0.so.0
family half there: libglib-2.0.so.0=7400.6 libgobject-2.0.so.0=7400.6 | libglib-2.0.so.0=8400.4 |
same version elsewhere: libz.so.1=2.13 libglib-2.0.so.0=7400.6 | libz.so.1=2.13 libglib-2.0.so.0=7400.6 | libglib-2.0.so.0
never Qt: libQt6Core.so.6=4.2 | libQt6Core.so.6=8.2 |
no version to compare: libexpat.so.1= libxcb.so.1=1.0 | libexpat.so.1=13.0 libxcb.so.1= |
)";
        for (const QString &line :
             QString::fromLatin1(rows).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            QTest::newRow(qPrintable(line.section(QLatin1Char(':'), 0, 0)))
                << line.section(QLatin1String(": "), 1).split(QLatin1Char('|'));
    }
    void chooses() {
        QFETCH(QStringList, row);
        const auto list = [&](int i) { return row[i].split(QLatin1Char(' '), Qt::SkipEmptyParts); };
        QTemporaryDir dir;
        const QString ours = dir.filePath(QStringLiteral("lib")),
                      theirs = dir.filePath(QStringLiteral("system"));
        lay(ours, list(0));
        lay(theirs, list(1));
        QStringList preloaded = list(2);
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
