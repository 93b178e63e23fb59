// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/numbers.h"
#include "tests/faults/faultshim.h"
#include "tests/settings/settingsTest.h"

#include <filesystem>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A regular file's bytes, or what else stands there: reading a pipe would wait.
QByteArray held(const QString &path) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return testfiles::noFile;
    return S_ISREG(st.st_mode) ? testfiles::read(path)
                               : "(type " + QByteArray::number(st.st_mode >> 12) + ')';
}

// What a copy of this test at program says of its settings (see main), run with its folder
// read-only; "skip" where no folder can be made so. Root writes whatever the modes say, but
// not on a read-only mount, which a mount namespace of the child's own gives it alone.
QByteArray startedReadOnly(const QByteArray &program, const char *mode) {
    const QByteArray folder = program.left(program.lastIndexOf('/'));
    if (::geteuid() != 0 && ::chmod(folder.constData(), 0555) != 0)
        return "skip";
    int out[2];
    if (::pipe(out) != 0)
        return "skip";
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]), ::close(out[1]);
        if (::geteuid() == 0 &&
            (::unshare(CLONE_NEWNS) != 0 ||
             ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
             ::mount(folder.constData(), folder.constData(), nullptr, MS_BIND, nullptr) != 0 ||
             ::mount(nullptr, folder.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                     nullptr) != 0)) {
            static const char skip[] = "skip";
            (void)!::write(STDOUT_FILENO, skip, sizeof skip - 1);
            _exit(0);
        }
        ::execl(program.constData(), program.constData(), mode, nullptr);
        _exit(127);
    }
    ::close(out[1]);
    QByteArray said;
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            said.append(buffer, n);
        else if (errno != EINTR)
            break;
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(folder.constData(), 0755);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? said : said + "(failed)";
}

} // namespace

class tst_settingsfile : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString folder, target; // as the shim compares paths

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        folder = QFileInfo(dir->path()).canonicalFilePath();
        target = folder + u"/settings.cfg"_s;
    }
    void cleanup() {
        faultshim_arm(nullptr, FaultNone, 0);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        dir.reset();
    }

    void readFailures() {
        SettingsTable table;
        // A real file is under 200 bytes; one of megabytes would hold up the first window.
        QFile large(folder + u"/large.cfg"_s);
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(64 * 1024 + 1));
        // None may hang: a pipe waits for a writer, a device never ends.
        QCOMPARE(::mkfifo(QFile::encodeName(folder + u"/fifo.cfg"_s).constData(), 0600), 0);
        ::alarm(20);
        for (const QString &path :
             {target, folder, large.fileName(), folder + u"/fifo.cfg"_s, u"/dev/zero"_s})
            QCOMPARE(failure([&] { settings::readSettingsFile(path, table); }).first,
                     int(SettingsError::CannotRead));
        ::alarm(0);
        QCOMPARE(table.size(), 0);
    }

    // What stands where the file goes, and the call that fails (an error) or where the program is
    // killed (none): the old file stays, no stray file is left but, after a kill, a temporary one
    // named after the file and holding part of the new; the error names the file the path leads
    // to; the next save is not stood in the way of.
    void failedSave_data() {
        // file, none, folder, no rights, or a link to a folder, a pipe or a device
        QTest::addColumn<QString>("there");
        QTest::addColumn<int>("point"); // injected by the shim
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *name, const char *there, int point = 0, int error = 0,
                            const QString &reason = QString()) {
            QTest::newRow(name) << QString::fromLatin1(there) << point << error << reason;
        };
        row("path is a folder", "folder", 0, 0, u"it is a folder."_s);
        row("link to a folder", "link", 0, 0, u"it is a folder."_s);
        row("link to a pipe", "pipe", 0, 0, u"it is not a regular file."_s);
        row("link to a device", "device", 0, 0, u"it is not a regular file."_s);
        row("folder without rights", "no rights", 0, 0, u""_s);
        row("write fails, no space", "file", FaultWrite, ENOSPC, u"No space left on device"_s);
        row("flush fails", "file", FaultSync, EIO, QString::fromLocal8Bit(strerror(EIO)));
        row("flush fails, no file yet", "none", FaultSync, ENOSPC, u"No space left on device"_s);
        row("putting in place fails", "file", FaultCommit, EIO,
            QString::fromLocal8Bit(strerror(EIO)));
        row("killed writing, over a file", "file", FaultWrite);
        row("killed writing, no file yet", "none", FaultWrite);
        row("killed flushing", "file", FaultSync);
        row("killed putting in place, over a file", "file", FaultCommit);
        row("killed putting in place, no file yet", "none", FaultCommit);
    }
    void failedSave() {
        QFETCH(QString, there);
        QFETCH(int, point);
        QFETCH(int, error);
        QFETCH(QString, reason);
        // Not a temporary of the file: no save may remove it.
        QVERIFY(testfiles::write(target + u".bak"_s, builtInFile));
        QVERIFY(there == u"folder" ? QDir(folder).mkdir(u"settings.cfg"_s)
                : there == u"none" ? true
                                   : testfiles::write(target, builtInFile));
        const QByteArray real = QFile::encodeName(folder + u"/real"_s);
        if (there == u"link" || there == u"pipe" || there == u"device") {
            const int made = there == u"link"   ? ::mkdir(real.constData(), 0700)
                             : there == u"pipe" ? ::mkfifo(real.constData(), 0600)
                                                : ::mknod(real.constData(), S_IFCHR | 0666,
                                                          makedev(1, 3)); // as /dev/null
            if (made != 0 && there == u"device")
                QSKIP("making a device needs root");
            QVERIFY(made == 0 && QFile::remove(target) && QFile::link(u"real"_s, target));
        }
        if (there == u"no rights")
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray before = held(target);
        const auto entries = [this] {
            return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                          QDir::NoDotAndDotDot);
        };
        const QStringList stays = entries();
        const auto save = [&] {
            faultshim_arm(QFile::encodeName(target).constData(), point, error);
            const auto refusal = failure([&] { settings::writeSettingsFile(target, newFile); });
            faultshim_arm(nullptr, FaultNone, 0);
            return refusal;
        };
        if (reason.isNull()) {
            const pid_t saver = fork();
            if (saver == 0)
                save(), _exit(0);
            int status = 0;
            QVERIFY(waitpid(saver, &status, 0) == saver && WIFSIGNALED(status) &&
                    WTERMSIG(status) == SIGKILL);
        } else {
            const auto [number, description] = save();
            if (there == u"no rights" && number == 0)
                QSKIP("running with rights that write into any folder");
            QCOMPARE(number, int(SettingsError::CannotWrite));
            const QString named =
                QFile::symLinkTarget(target).isEmpty() ? target : folder + u"/real"_s;
            QVERIFY2(description.startsWith(u"Cannot write "_s + named + u": "_s) &&
                         description.contains(reason),
                     qPrintable(description));
        }
        QCOMPARE(held(target), before);
        static const QRegularExpression temporary(u"^settings\\.cfg\\.\\w{6}$"_s);
        for (const QString &name : entries())
            QVERIFY2(stays.contains(name) ||
                         (reason.isNull() && temporary.match(name).hasMatch() &&
                          newFile.startsWith(testfiles::read(folder + u'/' + name))),
                     qPrintable(name));
        if (there == u"file" || there == u"none") {
            settings::writeSettingsFile(target, newFile);
            QCOMPARE(testfiles::read(target), newFile);
            // What a killed save left is gone with the next save, and nothing else is.
            QStringList expected = stays;
            if (!expected.contains(u"settings.cfg"_s))
                expected << u"settings.cfg"_s;
            expected.sort();
            QCOMPARE(entries(), expected);
        }
    }

    // The mode of the file replaced, and its owner and group where the process may set them:
    // else a file that root saved once is the user's no more.
    void keptModeAndOwner_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("otherOwner");
        QTest::newRow("private") << 0600 << false;
        QTest::newRow("group may read, set-group-id") << 02640 << false;
        QTest::newRow("read-only, saved by root") << 0444 << false;
        QTest::newRow("another user's, saved by root") << 0664 << true;
    }
    void keptModeAndOwner() {
        QFETCH(int, mode);
        QFETCH(bool, otherOwner);
        if (::geteuid() != 0 && (otherOwner || !(mode & 0200)))
            QSKIP("only root may save it");
        const QByteArray name = QFile::encodeName(target);
        QVERIFY(testfiles::write(target, builtInFile));
        const uid_t owner = otherOwner ? 65534 : ::geteuid();
        const gid_t group = otherOwner ? 65534 : ::getegid();
        QCOMPARE(::chown(name.constData(), owner, group), 0);
        QCOMPARE(::chmod(name.constData(), mode_t(mode)), 0);
        settings::writeSettingsFile(target, newFile);
        struct stat st;
        QCOMPARE(::stat(name.constData(), &st), 0);
        QCOMPARE(testfiles::read(target), newFile);
        QCOMPARE(QList<uint>({st.st_mode & 07777, st.st_uid, st.st_gid}),
                 QList<uint>({uint(mode), owner, group}));
    }

    // The program's file => the settings it reads and where it saves them: the user's own file
    // where it exists; else beside the program, saved there when its folder is writable, else in
    // the user's configuration folder; else nowhere (never the root or the working folder).
    // Paths are bytes, "\xe9" being Latin-1 in a UTF-8 system.
    void location_data() {
        // program | writable | config | own file | read | save ("+" when its folder is made at
        // the first save)
        QTest::addColumn<QByteArrayList>("row");
        const char *const rows = R"(
unpacked: /home/u/t/titrova|1|/home/u/.config|0|/home/u/t/settings.cfg|/home/u/t/settings.cfg
unpacked, own file first: /home/u/t/titrova|1|/home/u/.config|1|/home/u/.config/titrova/settings.cfg|/home/u/.config/titrova/settings.cfg
at the root: /titrova|1||0|/settings.cfg|/settings.cfg
not UTF-8: /caf\xe9/titrova|1||0|/caf\xe9/settings.cfg|/caf\xe9/settings.cfg
read-only folder: /media/ro/titrova|0|/home/u/.config|0|/media/ro/settings.cfg|+/home/u/.config/titrova/settings.cfg
read-only folder, own file: /media/ro/titrova|0|/home/u/.config|1|/home/u/.config/titrova/settings.cfg|/home/u/.config/titrova/settings.cfg
installed, folder with a slash: /usr/bin/titrova|0|/c/|0|/usr/bin/settings.cfg|+/c/titrova/settings.cfg
installed, relative folder: /usr/bin/titrova|0|c|1|/usr/bin/settings.cfg|
installed, no folder: /usr/bin/titrova|0||0|/usr/bin/settings.cfg|
program not found: |1|/c|0||
program not found, own file: |0|/c|1|/c/titrova/settings.cfg|/c/titrova/settings.cfg
)";
        for (QByteArray line : QByteArray(rows).split('\n')) {
            if (!line.isEmpty())
                QTest::newRow(line.left(line.indexOf(':')).constData())
                    << line.mid(line.indexOf(": ") + 2).replace("\\xe9", "\xe9").split('|');
        }
    }
    void location() {
        QFETCH(QByteArrayList, row);
        const settings::SettingsFiles f =
            settings::settingsFiles(row[0], row[1] == "1", row[2], row[3] == "1");
        QCOMPARE((f.read.makeFolder ? "+"_ba : ""_ba) + f.read.native, row[4]);
        QCOMPARE((f.save.makeFolder ? "+"_ba : ""_ba) + f.save.native, row[5]);
        QCOMPARE(f.save.shown,
                 row[5].isEmpty() ? u"settings.cfg"_s : QFile::decodeName(f.save.native));
    }

    // A real folder named in Latin-1: a copy of this test there finds itself and reads the
    // settings saved there; where there is no place, both are refused.
    void folderNotUtf8() {
        const std::string inside = QFile::encodeName(folder).toStdString() + "/caf\xe9";
        std::filesystem::create_directory(inside);
        // The temporary folder's own clean-up cannot name it.
        const auto removed = qScopeGuard([&] { std::filesystem::remove_all(inside); });
        std::filesystem::copy_file(
            QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
            inside + "/copy");
        settings::writeSettingsFile(
            settings::Location::fromNative(QByteArray::fromStdString(inside) + "/settings.cfg"),
            newFile);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder + u"/config"_s)); // no own file
        const auto restored = qScopeGuard([] { qunsetenv("XDG_CONFIG_HOME"); });
        FILE *out = ::popen(("'" + inside + "/copy' -settings").c_str(), "r");
        QVERIFY(out);
        char said[4096] = {};
        QVERIFY(std::fread(said, 1, sizeof said - 1, out) > 0);
        QCOMPARE(::pclose(out), 0);
        const QByteArray file = QByteArray::fromStdString(inside) + "/settings.cfg\n";
        QCOMPARE(QByteArray(said),
                 "writable\n" + file + file + "raise|Acid Blend|U.S. Gal.|10.5\n");

        SettingsTable table;
        const settings::Location nowhere = settings::settingsFiles(""_ba, true, ""_ba, false).save;
        QCOMPARE(failure([&] { settings::writeSettingsFile(nowhere, newFile); }),
                 std::pair(int(SettingsError::CannotWrite),
                           u"Cannot write settings.cfg: the program's folder cannot be found."_s));
        QCOMPARE(failure([&] { settings::readSettingsFile(nowhere, table); }).first,
                 int(SettingsError::CannotRead));
    }

    // Settings an administrator left beside the program in a folder nobody may write are read,
    // the first save goes to the user's own file, and from then on that one is read.
    void readOnlyFolder() {
        const QString ro = folder + u"/ro"_s;
        QVERIFY(QDir(folder).mkdir(u"ro"_s));
        const QByteArray program = QFile::encodeName(ro + u"/copy"_s);
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), ro + u"/copy"_s));
        const QByteArray given = QByteArray(builtInFile)
                                     .replace("raise", "lower")
                                     .replace("Acid Blend", "Calcium Carbonate")
                                     .replace("U.S. Gal.", "Litres")
                                     .replace("Size\",5", "Size\",20");
        QVERIFY(testfiles::write(ro + u"/settings.cfg"_s, given));
        const QByteArray config = QFile::encodeName(folder + u"/config"_s);
        qputenv("XDG_CONFIG_HOME", config);
        const auto restored = qScopeGuard([] { qunsetenv("XDG_CONFIG_HOME"); });
        const QByteArray own = config + "/titrova/settings.cfg";

        QByteArray said = startedReadOnly(program, "-settings-save");
        if (said == "skip")
            QSKIP("no folder can be made read-only here");
        QCOMPARE(said, "read-only\n" + QFile::encodeName(ro) + "/settings.cfg\n+" + own +
                           "\nlower|Calcium Carbonate|Litres|20\n");
        QCOMPARE(testfiles::read(QFile::decodeName(own)), newFile);
        QCOMPARE(testfiles::read(ro + u"/settings.cfg"_s), given);
        said = startedReadOnly(program, "-settings");
        QCOMPARE(said, "read-only\n" + own + '\n' + own + "\nraise|Acid Blend|U.S. Gal.|10.5\n");
    }

    // The user's configuration folder is made, privately, at the first save.
    void folderMade() {
        const auto file = settings::settingsFiles("/usr/bin/titrova"_ba, false,
                                                  QFile::encodeName(folder + u"/config"_s), false)
                              .save;
        settings::writeSettingsFile(file, newFile);
        QCOMPARE(testfiles::read(folder + u"/config/titrova/settings.cfg"_s), newFile);
        QCOMPARE(QFileInfo(folder + u"/config/titrova"_s).permissions() & 0x0077, 0);
    }

    void savedThroughLink() {
        // The link stays, what it points to is replaced whole, and its folder is synced: else
        // a power cut after the rename can bring back the old file, or none.
        QVERIFY(QDir(folder).mkdir(u"real"_s));
        QVERIFY(testfiles::write(folder + u"/real/settings.cfg"_s,
                                 "\"r_l\",\"lower\"\r\n"_ba.repeated(20)));
        QVERIFY(QFile::link(u"real/settings.cfg"_s, target));
        settings::writeSettingsFile(target, newFile);
        QCOMPARE(QFileInfo(target).symLinkTarget(), folder + u"/real/settings.cfg"_s);
        QCOMPARE(testfiles::read(folder + u"/real/settings.cfg"_s), newFile);
        QCOMPARE(QString::fromLocal8Bit(faultshim_last_folder_synced()), folder + u"/real"_s);
    }
};

int main(int argc, char *argv[]) {
    // A copy of the test says whether its folder is writable, which settings it reads, where
    // it saves them and what it read; and saves the built-in ones with 10.5 when asked.
    if (argc == 2 && std::strncmp(argv[1], "-settings", 9) == 0) {
        const QByteArray program = platform::programFile();
        const settings::SettingsFiles files = settings::settingsFiles();
        QByteArray out = platform::canWriteIn(program.left(program.lastIndexOf('/') + 1))
                             ? "writable\n"
                             : "read-only\n";
        out += files.read.native + '\n' + (files.save.makeFolder ? "+" : "") + files.save.native +
               '\n';
        SettingsTable table;
        try {
            settings::readSettingsFile(files.read, table);
            QStringList values;
            for (const char *key : {"r_l", "method", "batchUnits", "batchSize"})
                values << table.lookup(QString::fromLatin1(key)).toString();
            out += values.join(u'|').toUtf8() + '\n';
            if (std::strcmp(argv[1], "-settings-save") == 0)
                settings::writeSettingsFile(files.save, newFile);
        } catch (const SettingsError &e) {
            out += e.description().toUtf8() + '\n';
        }
        return std::fwrite(out.constData(), 1, size_t(out.size()), stdout) == size_t(out.size())
                   ? 0
                   : 1;
    }
    QCoreApplication app(argc, argv);
    tst_settingsfile test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_settingsfile.moc"
