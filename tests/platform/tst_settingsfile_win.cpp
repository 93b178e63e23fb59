// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and saving on Windows, made to fail the ways Windows fails: a folder at the name, a
// read-only file, a file another program holds without sharing, a missing folder.
#include "tests/settings/settingsTest.h"

#include <windows.h>

namespace {

// Held open by another program that shares it with no one, until the handle is closed.
HANDLE holdExclusively(const QString &path) {
    return ::CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(),
                         GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

class tst_settingsfile : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString folder, target;

    QStringList entries() const {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                      QDir::NoDotAndDotDot);
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        folder = dir->path();
        target = folder + u"/settings.cfg"_s;
    }
    void cleanup() {
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        dir.reset();
    }

    // What stands where the file goes => the save's refusal, naming the file as Windows users
    // write paths; the old file stays and no stray file is left.
    void failedSave_data() {
        QTest::addColumn<QString>("there");
        QTest::addColumn<QString>("reason");
        QTest::newRow("path is a folder") << u"folder"_s << u"it is a folder."_s;
        QTest::newRow("read-only file") << u"read-only"_s << u"Existing file is not writable"_s;
        QTest::newRow("held by another program") << u"held"_s << u""_s;
        QTest::newRow("folder missing") << u"no folder"_s << u""_s;
    }
    void failedSave() {
        QFETCH(QString, there);
        QFETCH(QString, reason);
        QString path = target;
        if (there == u"folder")
            QVERIFY(QDir(folder).mkdir(u"settings.cfg"_s));
        else if (there == u"no folder")
            path = folder + u"/missing/settings.cfg"_s;
        else
            QVERIFY(testfiles::write(target, builtInFile));
        if (there == u"read-only")
            QVERIFY(QFile::setPermissions(target, QFile::ReadOwner));
        HANDLE held = there == u"held" ? holdExclusively(target) : INVALID_HANDLE_VALUE;
        const auto release = [&held] {
            if (held != INVALID_HANDLE_VALUE)
                ::CloseHandle(held);
            held = INVALID_HANDLE_VALUE;
        };
        const auto released = qScopeGuard(release);
        QVERIFY(there != u"held" || held != INVALID_HANDLE_VALUE);
        const QStringList before = entries();

        const auto [number, description] =
            failure([&] { settings::writeSettingsFile(path, newFile); });
        QCOMPARE(number, int(SettingsError::CannotWrite));
        const QString named = u"Cannot write "_s + QDir::toNativeSeparators(path) + u": "_s;
        QVERIFY2(description.startsWith(named) && description.contains(reason) &&
                     description.size() > named.size(),
                 qPrintable(description));
        QCOMPARE(entries(), before);
        release();
        if (there == u"read-only" || there == u"held")
            QCOMPARE(testfiles::read(target), builtInFile);
    }

    // A save over a file, and over none: the whole new file, nothing else left beside it but
    // what was there; an interrupted save's leftover goes, anything else of the user's stays,
    // and so does a temporary another save still holds.
    void save() {
        QVERIFY(testfiles::write(target, builtInFile));
        for (const QString &name : {u"settings.cfg.a1B2c3"_s, u"settings.cfg.bak"_s,
                                    u"settings.cfg.a1B2c"_s, u"settings.cfg.held00"_s})
            QVERIFY(testfiles::write(folder + u'/' + name, "part"));
        const HANDLE held = holdExclusively(folder + u"/settings.cfg.held00"_s);
        QVERIFY(held != INVALID_HANDLE_VALUE);
        settings::writeSettingsFile(target, newFile);
        ::CloseHandle(held);
        QCOMPARE(testfiles::read(target), newFile);
        QCOMPARE(entries(), QStringList({u"settings.cfg"_s, u"settings.cfg.a1B2c"_s,
                                         u"settings.cfg.bak"_s, u"settings.cfg.held00"_s}));
        QFile::remove(target);
        settings::writeSettingsFile(target, builtInFile);
        QCOMPARE(testfiles::read(target), builtInFile);
    }

    void readFailures() {
        SettingsTable table;
        QFile huge(folder + u"/huge.cfg"_s);
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(64 * 1024 + 1));
        huge.close();
        QVERIFY(testfiles::write(target, builtInFile));
        const HANDLE held = holdExclusively(target);
        const auto release = qScopeGuard([held] { ::CloseHandle(held); });
        for (const QString &path :
             {folder + u"/none.cfg"_s, folder, huge.fileName(), target, u"NUL"_s})
            QCOMPARE(failure([&] { settings::readSettingsFile(path, table); }).first,
                     int(SettingsError::CannotRead));
        QCOMPARE(table.size(), 0);
    }

    // The program's folder => the settings read and saved, built with a backslash: the user's
    // own file where it exists; a folder that cannot be written is read and the save goes to
    // the user's own configuration folder.
    void location_data() {
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<bool>("own");
        QTest::addColumn<QString>("shown"); // read, then saved; "+": folder made at the first save
        const QByteArray local = "C:/Users/u/AppData/Local"_ba;
        QTest::newRow("C:\\Tools") << "C:/Tools/titrova.exe"_ba << true << local << false
                                   << u"C:\\Tools\\settings.cfg C:\\Tools\\settings.cfg"_s;
        QTest::newRow("drive's root") << "C:/titrova.exe"_ba << true << ""_ba << false
                                      << u"C:\\settings.cfg C:\\settings.cfg"_s;
        QTest::newRow("under Program Files")
            << "C:/Program Files/Titrova/titrova.exe"_ba << false << local << false
            << u"C:\\Program Files\\Titrova\\settings.cfg "
               "+C:\\Users\\u\\AppData\\Local\\titrova\\settings.cfg"_s;
        QTest::newRow("own file first") << "C:/Tools/titrova.exe"_ba << true << local << true
                                        << u"C:\\Users\\u\\AppData\\Local\\titrova\\settings.cfg "
                                           "C:\\Users\\u\\AppData\\Local\\titrova\\settings.cfg"_s;
        QTest::newRow("not writable, no folder")
            << "C:/Tools/titrova.exe"_ba << false << ""_ba << false
            << u"C:\\Tools\\settings.cfg settings.cfg"_s;
    }
    void location() {
        QFETCH(QByteArray, program);
        QFETCH(bool, writable);
        QFETCH(QByteArray, config);
        QFETCH(bool, own);
        QFETCH(QString, shown);
        const settings::SettingsFiles f = settings::settingsFiles(program, writable, config, own);
        QCOMPARE((f.read.makeFolder ? u"+"_s : u""_s) + f.read.shown + u' ' +
                     (f.save.makeFolder ? u"+"_s : u""_s) + f.save.shown,
                 shown);
    }

    // The running program is found, and its folder, the temporary one here, can be written.
    void runningProgram() {
        QCOMPARE(QFile::decodeName(platform::programFile()),
                 QCoreApplication::applicationFilePath());
        QVERIFY(platform::canWriteIn(QFile::encodeName(folder + u'/')));
        QCOMPARE(entries(), QStringList());
        const auto made = settings::settingsFiles("C:/Program Files/t.exe"_ba, false,
                                                  QFile::encodeName(folder + u"/config"_s), false)
                              .save;
        settings::writeSettingsFile(made, newFile);
        QCOMPARE(testfiles::read(folder + u"/config/titrova/settings.cfg"_s), newFile);
        QVERIFY(platform::exists(QFile::encodeName(folder + u"/config/titrova/settings.cfg"_s)));
        QVERIFY(!platform::exists(QFile::encodeName(folder + u"/none.cfg"_s)));
    }
};

QTEST_GUILESS_MAIN(tst_settingsfile)
#include "tst_settingsfile_win.moc"
