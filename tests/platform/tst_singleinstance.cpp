// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/singleInstance.h"

#include <QtTest>
#include <csignal>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace titrova;
using namespace Qt::StringLiterals;
using singleInstance::Lock;

// Locks belong to open files, so a second Lock in this process stands for a second copy.
class tst_singleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    // What is at the lock's name before the start: whether the copy starts, and whether a copy
    // started next is refused.
    void startUp_data() {
        QTest::addColumn<bool>("starts");
        QTest::addColumn<bool>("guards");
        QTest::newRow("nothing") << true << true;
        QTest::newRow("held by another copy") << false << true;
        QTest::newRow("our own file, mode 444") << true << true;
        QTest::newRow("another user's file, mode 444, held") << true << false;
        QTest::newRow("a folder") << true << false;
        QTest::newRow("a FIFO") << true << false; // opened read-only: must not block
    }
    void startUp() {
        QFETCH(bool, starts);
        QFETCH(bool, guards);
        const QString tag = QString::fromLatin1(QTest::currentDataTag()), path = dir.filePath(tag);
        const QByteArray name = QFile::encodeName(path);
        std::unique_ptr<Lock> first;
        int theirs = -1;
        const auto closeTheirs = qScopeGuard([&] { theirs >= 0 && ::close(theirs); });
        if (tag.startsWith(u"held"))
            first = std::make_unique<Lock>(path);
        else if (tag.startsWith(u"a folder"))
            QVERIFY(QDir().mkdir(path));
        else if (tag.startsWith(u"a FIFO"))
            QCOMPARE(::mkfifo(name.constData(), 0444), 0);
        else if (tag != u"nothing") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("1\ntitrova\nhost\n") > 0);
            f.close();
            QCOMPARE(::chmod(name.constData(), 0444), 0);
            if (tag.startsWith(u"another")) {
                if (::geteuid() != 0 || ::chown(name.constData(), 65534, 65534) != 0)
                    QSKIP("giving a file to another user needs root");
                theirs = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
                QVERIFY(theirs >= 0 && ::flock(theirs, LOCK_EX | LOCK_NB) == 0);
            }
        }
        Lock lock(path);
        QCOMPARE(lock.state() != Lock::Refused, starts);
        QCOMPARE(Lock(path).state() == Lock::Refused, guards);
    }

    // What XDG_RUNTIME_DIR holds => the folder of the lock. Only a usable runtime folder or the
    // program's own private one in the temp folder is ever written to, never the working
    // folder; with neither the start goes on unguarded.
    void lockFolder_data() {
        QTest::addColumn<QByteArray>("given");
        QTest::addColumn<QString>("folder");
        const QString own = u"titrova-runtime-"_s + QString::number(::geteuid());
        QTest::newRow("usable") << "run"_ba << u"run"_s;
        QTest::newRow("unset") << QByteArray() << own;
        QTest::newRow("empty") << ""_ba << own;
        QTest::newRow("missing") << "missing"_ba << own;
        QTest::newRow("a file") << "file"_ba << own;
        QTest::newRow("relative") << "=run"_ba << own;
        QTest::newRow("our own name taken by another user") << "!"_ba << QString();
    }
    void lockFolder() {
        QFETCH(QByteArray, given);
        QFETCH(QString, folder);
        QTemporaryDir work;
        const QDir at(work.path());
        const QByteArray temp = qgetenv("TMPDIR"), runtime = qgetenv("XDG_RUNTIME_DIR");
        const auto restored = qScopeGuard([&] {
            temp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temp);
            runtime.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", runtime);
        });
        QVERIFY(work.isValid() && at.mkdir(u"run"_s) &&
                QFile(at.filePath(u"file"_s)).open(QIODevice::WriteOnly));
        if (given == "!") {
            const QByteArray taken = QFile::encodeName(
                at.filePath(u"titrova-runtime-"_s + QString::number(::geteuid())));
            if (::geteuid() != 0)
                QSKIP("only root may make a folder for another user");
            QVERIFY(::mkdir(taken.constData(), 0700) == 0 &&
                    ::chown(taken.constData(), 65534, 65534) == 0);
        }
        const QStringList before = at.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(at.path());
        qputenv("TMPDIR", QFile::encodeName(at.path()));
        given.isNull() ? qunsetenv("XDG_RUNTIME_DIR")
                       : qputenv("XDG_RUNTIME_DIR",
                                 given.startsWith('=') ? given.mid(1)
                                 : given.isEmpty()
                                     ? given
                                     : QFile::encodeName(at.filePath(QString::fromLatin1(given))));
        const QString lock = singleInstance::lockPath();
        QDir::setCurrent(cwd);
        QCOMPARE(QFileInfo(lock).path(), folder.isEmpty() ? QString() : at.filePath(folder));
        if (!folder.isEmpty())
            QCOMPARE(qgetenv("XDG_RUNTIME_DIR"), QFile::encodeName(at.filePath(folder)));
        QStringList after = before;
        if (!after.contains(folder) && !folder.isEmpty())
            after << folder, after.sort();
        QCOMPARE(at.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), after);
        if (folder.startsWith(u"titrova"))
            QCOMPARE(QFileInfo(at.filePath(folder)).permissions() & 0x0077, 0);
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
