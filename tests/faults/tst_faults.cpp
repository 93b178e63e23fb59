// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingsfile.h"
#include "settings/settingstable.h"
#include "tests/faults/faultshim.h"
#include "tests/common/uitest.h"
#include "ui/settings/frmOptions.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QStringList keys = {u"r_l"_s,       u"method"_s,  u"acidUnits"_s, u"batchUnits"_s,
                          u"batchSize"_s, u"blend_t"_s, u"blend_m"_s,   u"blend_c"_s};
const QStringList builtIns = u"raise|Acid Blend|g/L|U.S. Gal.|5|50|30|20"_s.split(u'|');

// The built-in defaults' file, and the one saved after the batch size is set to 10.5.
const QByteArray oldFile = "\"r_l\",\"raise\"\r\n\"method\",\"Acid Blend\"\r\n"
                           "\"acidUnits\",\"g/L\"\r\n\"batchunits\",\"U.S. Gal.\"\r\n"
                           "\"batchSize\",5\r\n\"blend_t\",50\r\n\"blend_m\",30\r\n"
                           "\"blend_c\",20\r\n";
const QByteArray newFile = QByteArray(oldFile).replace("Size\",5\r", "Size\",10.5\r");
const QByteArray noFile = "(none)";

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : noFile;
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

QStringList entries(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

enum Medium { PlainFolder, FullDisk, ReadOnlyDisk };

} // namespace

class tst_faults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void refusedSave_data();
    void refusedSave();
    void killedWhileSaving_data();
    void killedWhileSaving();
    void syncsTheFolder();

private:
    bool runSaver(QProcess &saver, const QString &point);

    std::unique_ptr<QTemporaryDir> dir;
    QString folder;
    QString target;
    bool mounted = false;
    uitest::ModalCatcher *catcher = nullptr;
};

void tst_faults::initTestCase() {
    QLocale::setDefault(QLocale(u"en_US"_s));
    // In a mount namespace of its own a tiny file system left by a crash dies with the test.
    if (geteuid() == 0 && unshare(CLONE_NEWNS) == 0)
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
}

void tst_faults::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    // The shim compares paths as the saver passes them.
    folder = QFileInfo(dir->path()).canonicalFilePath();
    target = folder + u"/settings.cfg"_s;
    settings::defaultSettings().clear();
    catcher = new uitest::ModalCatcher;
}

void tst_faults::cleanup() {
    faultshim_arm(nullptr, FaultNone, 0);
    delete catcher;
    QList<QPointer<QWidget>> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows << w;
    for (const QPointer<QWidget> &w : windows) {
        if (qobject_cast<frmOptions *>(w))
            delete w;
    }
    if (mounted && umount2(QFile::encodeName(folder).constData(), MNT_DETACH) != 0)
        qWarning("cannot unmount %s: %s", qPrintable(folder), std::strerror(errno));
    mounted = false;
    dir.reset();
}

void tst_faults::refusedSave_data() {
    QTest::addColumn<int>("medium");
    QTest::addColumn<int>("point"); // injected by the shim
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason");

    QTest::newRow("disk full") << int(FullDisk) << int(FaultNone) << 0
                               << u"No space left on device"_s;
    QTest::newRow("read-only file system")
        << int(ReadOnlyDisk) << int(FaultNone) << 0 << u"is not writable"_s;
    QTest::newRow("write fails: no space, any machine")
        << int(PlainFolder) << int(FaultWrite) << ENOSPC << u"No space left on device"_s;
    QTest::newRow("putting in place fails: I/O error")
        << int(PlainFolder) << int(FaultCommit) << EIO << QString::fromLocal8Bit(strerror(EIO));
}

void tst_faults::refusedSave() {
    QFETCH(int, medium);
    QFETCH(int, point);
    QFETCH(int, error);
    QFETCH(QString, reason);

    if (medium != PlainFolder) {
        if (geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        // Two pages: one for the old file, one for the filler.
        if (mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=8k") != 0)
            QSKIP(
                qPrintable(u"cannot mount a tmpfs: "_s + QString::fromLocal8Bit(strerror(errno))));
        mounted = true;
    }
    QVERIFY(writeFile(target, oldFile));
    QStringList expectedEntries{u"settings.cfg"_s};
    if (medium == FullDisk) {
        QFile filler(folder + u"/filler"_s);
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray chunk(1024, 'f');
        int chunks = 0;
        while (chunks < 64 && filler.write(chunk) == chunk.size())
            ++chunks;
        QVERIFY2(chunks < 64, "the small file system is not there");
        QCOMPARE(QStorageInfo(folder).bytesAvailable(), 0);
        expectedEntries.prepend(u"filler"_s);
    } else if (medium == ReadOnlyDisk) {
        QVERIFY(mount(nullptr, QFile::encodeName(folder).constData(), nullptr,
                      MS_REMOUNT | MS_RDONLY, nullptr) == 0);
    }

    for (qsizetype i = 0; i < keys.size(); ++i)
        settings::defaultSettings().add(keys[i], builtIns[i]);
    QPointer<frmOptions> dlg = new frmOptions(target);
    dlg->show();
    dlg->activateWindow();
    QVERIFY(QTest::qWaitFor([&dlg] { return dlg->isActiveWindow(); }));
    dlg->findChild<QLineEdit *>(u"txtBatchSize"_s)->setText(u"10.5"_s);
    faultshim_arm(QFile::encodeName(target).constData(), point, error);
    dlg->findChild<QPushButton *>(u"cmdOK"_s)->click();
    faultshim_arm(nullptr, FaultNone, 0);

    QCOMPARE(fileBytes(target), oldFile);
    QCOMPARE(entries(folder), expectedEntries);
    QCOMPARE(catcher->boxes.size(), 1);
    QCOMPARE(catcher->boxes[0].icon, QMessageBox::Critical);
    const QString text = catcher->boxes[0].text;
    QVERIFY2(text.startsWith(u"7\nCannot write "_s + target + u": "_s), qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QTest::qWait(50);
    QVERIFY(dlg && dlg->isVisible());
}

bool tst_faults::runSaver(QProcess &saver, const QString &point) {
    QStringList args{point, target};
    for (qsizetype i = 0; i < keys.size(); ++i)
        args << keys[i] << (keys[i] == u"batchSize" ? u"10.5"_s : builtIns[i]);
    saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    saver.start(QStringLiteral(FAULT_SAVER), args);
    return saver.waitForFinished(60000);
}

void tst_faults::killedWhileSaving_data() {
    QTest::addColumn<QString>("point");
    QTest::addColumn<QByteArray>("old");

    QTest::newRow("killed writing, over a file") << u"write"_s << oldFile;
    QTest::newRow("killed writing, no file yet") << u"write"_s << noFile;
    QTest::newRow("killed putting in place, over a file") << u"commit"_s << oldFile;
    QTest::newRow("killed putting in place, no file yet") << u"commit"_s << noFile;
    QTest::newRow("not killed") << u"none"_s << oldFile;
}

void tst_faults::killedWhileSaving() {
    QFETCH(QString, point);
    QFETCH(QByteArray, old);

    if (old != noFile)
        QVERIFY(writeFile(target, old));
    QProcess saver;
    QVERIFY(runSaver(saver, point));
    if (point == u"none") {
        QCOMPARE(saver.exitStatus(), QProcess::NormalExit);
        QCOMPARE(saver.exitCode(), 0);
        QCOMPARE(fileBytes(target), newFile);
        QCOMPARE(entries(folder), QStringList{u"settings.cfg"_s});
        return;
    }
    QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
    QCOMPARE(fileBytes(target), old);
    // A temporary file may survive a kill, named after the file and holding part of the new.
    static const QRegularExpression temporary(u"^settings\\.cfg\\.\\w{6}$"_s);
    for (const QString &name : entries(folder)) {
        if (name == u"settings.cfg")
            continue;
        QVERIFY2(temporary.match(name).hasMatch(), qPrintable(name));
        QVERIFY2(newFile.startsWith(fileBytes(folder + u'/' + name)), qPrintable(name));
    }

    // Whatever the kill left does not stand in the way of the next save.
    QProcess again;
    QVERIFY(runSaver(again, u"none"_s));
    QCOMPARE(again.exitStatus(), QProcess::NormalExit);
    QCOMPARE(again.exitCode(), 0);
    QCOMPARE(fileBytes(target), newFile);
}

void tst_faults::syncsTheFolder() {
    // Without it a power cut after the rename can bring back the old file, or none. Through
    // a link it is the folder of the file the link points to.
    QVERIFY(QDir(folder).mkdir(u"real"_s));
    QVERIFY(QFile::link(folder + u"/real/settings.cfg"_s, target));
    settings::writeSettingsFile(target, newFile);
    QCOMPARE(fileBytes(folder + u"/real/settings.cfg"_s), newFile);
    QCOMPARE(QString::fromLocal8Bit(faultshim_last_folder_synced()), folder + u"/real"_s);
}

QTEST_MAIN(tst_faults)
#include "tst_faults.moc"
