// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/singleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using singleInstance::Lock;

// Locks belong to open files, so a second Lock in this process stands for a second copy.
class tst_singleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void startUp_data() {
        QTest::addColumn<QString>("there"); // at the lock's name before the start
        QTest::addColumn<bool>("starts");
        QTest::addColumn<bool>("guards"); // a copy started next is refused

        QTest::newRow("nothing") << u""_s << true << true;
        QTest::newRow("a lock another copy holds") << u"held"_s << false << true;
        QTest::newRow("a killed copy's lock naming a live process") << u"pid"_s << true << true;
        QTest::newRow("our own file, mode 444") << u"444"_s << true << true;
        QTest::newRow("another user's file, mode 444, held") << u"other"_s << true << false;
        QTest::newRow("a folder") << u"folder"_s << true << false;
        QTest::newRow("a FIFO") << u"fifo"_s << true << false;
    }

    void startUp() {
        QFETCH(QString, there);
        QFETCH(bool, starts);
        QFETCH(bool, guards);
        const QString path = dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        const QByteArray name = QFile::encodeName(path);
        std::unique_ptr<Lock> first;
        int theirs = -1;
        if (there == u"held") {
            first = std::make_unique<Lock>(path);
        } else if (there == u"pid" || there == u"444" || there == u"other") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("1\ntitrova\nhost\n") > 0);
            f.close();
            QVERIFY(::chmod(name.constData(), 0444) == 0 || there == u"pid");
            if (there == u"other") {
                if (::geteuid() != 0 || ::chown(name.constData(), 65534, 65534) != 0)
                    QSKIP("giving a file to another user needs root");
                theirs = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
                QVERIFY(theirs >= 0 && ::flock(theirs, LOCK_EX | LOCK_NB) == 0);
            }
        } else if (there == u"folder") {
            QVERIFY(QDir().mkdir(path));
        } else if (there == u"fifo") {
            QCOMPARE(::mkfifo(name.constData(), 0444), 0); // opened read-only: must not block
        }

        Lock lock(path);
        QCOMPARE(lock.state() != Lock::Refused, starts);
        QCOMPARE(Lock(path).state() == Lock::Refused, guards);
        if (theirs >= 0)
            ::close(theirs);
    }

    void lockFolder() {
        // Without a runtime folder the temp folder serves, and the start goes on.
        QVERIFY(QDir(dir.path()).mkdir(u"run"_s));
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath(u"missing"_s)));
        QVERIFY(singleInstance::lockPath().startsWith(dir.filePath(u"titrova-"_s)));
        QVERIFY(singleInstance::claim());
        QVERIFY(singleInstance::claim()); // a second window of this process is no rival
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath(u"run"_s)));
        QVERIFY(singleInstance::lockPath().startsWith(dir.filePath(u"run/titrova-"_s)));
    }

    void notInherited() {
        // A calculator started from the menu may outlive us; it must not keep the lock.
        const QString path = dir.filePath(u"inherited"_s);
        auto lock = std::make_unique<Lock>(path);
        QCOMPARE(lock->state(), Lock::Held);
        qint64 pid = 0;
        QVERIFY(QProcess::startDetached(u"sleep"_s, {u"30"_s}, QString(), &pid));
        const auto reap = qScopeGuard([pid] { ::kill(pid_t(pid), SIGKILL); });
        lock.reset();
        QTRY_COMPARE_WITH_TIMEOUT(Lock(path).state(), Lock::Held, 3000);
    }
};

QTEST_GUILESS_MAIN(tst_singleInstance)
#include "tst_singleinstance.moc"
