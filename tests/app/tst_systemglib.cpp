// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/systemGlib.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString glib = QStringLiteral("libglib-2.0.so.0");
const QString gobject = QStringLiteral("libgobject-2.0.so.0");

// A library folder: each soname linked to a file named with its version, as Debian lays it.
void lay(const QString &folder, const QStringList &sonames, const QString &version) {
    for (const QString &soname : sonames) {
        const QString file = soname + QLatin1Char('.') + version;
        QFile(folder + QLatin1Char('/') + file).open(QIODevice::WriteOnly);
        QFile::link(file, folder + QLatin1Char('/') + soname);
    }
}

} // namespace

class TestSystemGlib : public QObject {
    Q_OBJECT
private slots:
    void chooses_data() {
        QTest::addColumn<QStringList>("bundled");
        QTest::addColumn<QString>("bundledVersion");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QString>("systemVersion");
        QTest::addColumn<QStringList>("preloaded");
        QTest::newRow("newer system") << QStringList{glib} << QStringLiteral("7400.6") << QStringList{glib, gobject}
                                      << QStringLiteral("8400.4") << QStringList{glib};
        QTest::newRow("same version") << QStringList{glib} << QStringLiteral("7400.6") << QStringList{glib}
                                      << QStringLiteral("7400.6") << QStringList{glib};
        QTest::newRow("older system") << QStringList{glib} << QStringLiteral("7400.6") << QStringList{glib}
                                      << QStringLiteral("7200.4") << QStringList{};
        QTest::newRow("older micro") << QStringList{glib} << QStringLiteral("7400.10") << QStringList{glib}
                                     << QStringLiteral("7400.9") << QStringList{};
        QTest::newRow("numbers, not text") << QStringList{glib} << QStringLiteral("9800.0") << QStringList{glib}
                                           << QStringLiteral("10000.0") << QStringList{glib};
        QTest::newRow("no system glib") << QStringList{glib} << QStringLiteral("7400.6") << QStringList{}
                                        << QStringLiteral("8400.4") << QStringList{};
        QTest::newRow("whole family") << QStringList{glib, gobject} << QStringLiteral("7400.6")
                                      << QStringList{glib, gobject} << QStringLiteral("8400.4")
                                      << QStringList{glib, gobject};
        QTest::newRow("family half there") << QStringList{glib, gobject} << QStringLiteral("7400.6")
                                           << QStringList{glib} << QStringLiteral("8400.4") << QStringList{};
    }
    void chooses() {
        QFETCH(QStringList, bundled);
        QFETCH(QString, bundledVersion);
        QFETCH(QStringList, system);
        QFETCH(QString, systemVersion);
        QFETCH(QStringList, preloaded);
        QTemporaryDir dir;
        const QString ours = dir.filePath(QStringLiteral("lib")),
                      theirs = dir.filePath(QStringLiteral("system"));
        QDir().mkpath(ours);
        QDir().mkpath(theirs);
        lay(ours, bundled, bundledVersion);
        lay(theirs, system, systemVersion);
        QStringList expected;
        for (const QString &soname : preloaded)
            expected << theirs + QLatin1Char('/') + soname;
        QCOMPARE(QString::fromStdString(
                     systemGlib::preload(ours.toStdString(), theirs.toStdString())),
                 expected.join(QLatin1Char(':')));
    }

    // A copy that is a file, or a link to a name without a version, tells no version.
    void unversioned() {
        QTemporaryDir dir;
        const QString file = dir.filePath(glib);
        QFile(file).open(QIODevice::WriteOnly);
        QVERIFY(!systemGlib::linkedVersion(file.toStdString()));
        const QString other = dir.filePath(QStringLiteral("libglib-2.0.so.0.x.1"));
        QFile(other).open(QIODevice::WriteOnly);
        const QString link = dir.filePath(QStringLiteral("sub/") + glib);
        QDir().mkpath(dir.filePath(QStringLiteral("sub")));
        QFile::link(QStringLiteral("../libglib-2.0.so.0.x.1"), link);
        QVERIFY(!systemGlib::linkedVersion(link.toStdString()));
    }
};

QTEST_GUILESS_MAIN(TestSystemGlib)
#include "tst_systemglib.moc"
