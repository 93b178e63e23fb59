// SPDX-License-Identifier: GPL-3.0-or-later
// The single-copy lock on Windows, with real processes: copies of this test that take the lock.
#include "platform/singleInstance.h"

#include <QtTest>

#include <windows.h>

using namespace titrova;
using namespace Qt::StringLiterals;
using singleInstance::Lock;

namespace {

// A copy of this test that takes the lock at the name, says whether it got it, and holds it.
QProcess *copyTaking(const QString &name, QObject *parent) {
    auto *p = new QProcess(parent);
    p->start(QCoreApplication::applicationFilePath(), {u"-take"_s, name});
    return p;
}

} // namespace

class tst_singleInstance : public QObject {
    Q_OBJECT

private slots:
    void withinOneProcess() {
        const QString name = u"C:/Tools/titrova.exe"_s;
        auto first = std::make_unique<Lock>(name);
        QCOMPARE(first->state(), Lock::Held);
        QCOMPARE(Lock(name).state(), Lock::Refused);
        QCOMPARE(Lock(u"c:/tools/TITROVA.EXE"_s).state(), Lock::Refused); // the same file
        QCOMPARE(Lock(u"D:/Tools/titrova.exe"_s).state(), Lock::Held);    // another copy's
        first.reset();
        QCOMPARE(Lock(name).state(), Lock::Held);
    }

    // A copy killed while it holds the lock never blocks the next start.
    void killedCopy() {
        const QString name = u"killed"_s;
        QProcess *copy = copyTaking(name, this);
        QVERIFY(copy->waitForReadyRead(30000));
        QCOMPARE(copy->readAll().trimmed(), "held"_ba);
        QCOMPARE(Lock(name).state(), Lock::Refused);
        copy->kill();
        QVERIFY(copy->waitForFinished(30000));
        QCOMPARE(Lock(name).state(), Lock::Held);
    }

    // Of copies started at the same moment, exactly one gets the lock.
    void simultaneousStarts() {
        const QString name = u"simultaneous"_s;
        QList<QProcess *> copies;
        for (int i = 0; i < 4; ++i)
            copies << copyTaking(name, this);
        int held = 0;
        for (QProcess *copy : copies) {
            QVERIFY(copy->waitForReadyRead(30000));
            held += copy->readAll().trimmed() == "held";
        }
        QCOMPARE(held, 1);
        for (QProcess *copy : copies) {
            copy->kill();
            copy->waitForFinished(30000);
        }
    }
};

int main(int argc, char *argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "-take") == 0) {
        const Lock lock(QString::fromLocal8Bit(argv[2]));
        std::printf("%s\n", lock.state() == Lock::Held ? "held" : "refused");
        std::fflush(stdout);
        ::Sleep(60000);
        return 0;
    }
    QCoreApplication app(argc, argv);
    tst_singleInstance test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_singleinstance_win.moc"
