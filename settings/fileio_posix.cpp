// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and saving the settings file with the system's own calls: a path is bytes here,
// and every step that can fail is seen.
#include "settings/fileio.h"

#include "settings/settingstable.h"

#include <QDir>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings::fileio {
namespace {

// As the kernel follows them.
constexpr int maxLinkDepth = 40;

class Fd {
public:
    explicit Fd(int fd = -1)
        : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    void reset(int fd = -1) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

QString reasonOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray folderOf(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// 0, or why the folder and those above it could not be made.
int makeFolders(const QByteArray &folder) {
    struct stat st;
    if (::stat(folder.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    const QByteArray parent = folderOf(folder);
    if (parent != folder) {
        if (const int error = makeFolders(parent))
            return error;
    }
    // Private, as the desktop's rules ask of configuration folders.
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
        return errno;
    return 0;
}

// The name an interrupted save of the file leaves: the file's name, a dot and six letters or
// digits.
bool isTemporaryOf(const char *entry, const QByteArray &name) {
    if (std::strlen(entry) != size_t(name.size()) + 7 ||
        std::memcmp(entry, name.constData(), name.size()) != 0 || entry[name.size()] != '.')
        return false;
    for (const char *c = entry + name.size() + 1; *c; ++c) {
        if (!((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9')))
            return false;
    }
    return true;
}

QByteArray temporaryName(const QByteArray &name) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray out = name + '.';
    for (int i = 0; i < 6; ++i)
        out += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return out;
}

// A save holds a lock on its temporary file until it ends, and the system drops it when the
// saving process dies: a temporary nobody holds is litter.
void removeLeftovers(int dir, const QByteArray &name) {
    const int scan = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *entries = scan >= 0 ? ::fdopendir(scan) : nullptr;
    if (!entries) {
        if (scan >= 0)
            ::close(scan);
        return;
    }
    while (const dirent *e = ::readdir(entries)) {
        if (!isTemporaryOf(e->d_name, name))
            continue;
        const Fd f(
            ::openat(dir, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st;
        if (f.valid() && ::fstat(f.get(), &st) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::geteuid() && ::flock(f.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dir, e->d_name, 0);
    }
    ::closedir(entries);
}

} // namespace

QByteArray readRegular(const Location &file, qint64 largest) {
    const auto fail = [&file](const QString &reason) {
        throw SettingsError(SettingsError::CannotRead,
                            QStringLiteral("Cannot read %1: %2").arg(file.shown, reason));
    };
    if (file.native.isEmpty())
        fail(QStringLiteral("the program's folder cannot be found."));
    // Opened before it is judged, and without waiting: a pipe swapped in after a check would
    // wait for a writer for ever.
    const Fd fd(::open(file.native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid())
        fail(errno == ENOENT ? QStringLiteral("the file does not exist.") : reasonOf(errno));
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        fail(reasonOf(errno));
    if (S_ISDIR(st.st_mode))
        fail(QStringLiteral("it is a folder."));
    if (!S_ISREG(st.st_mode))
        fail(QStringLiteral("it is not a regular file."));
    if (st.st_size > largest)
        fail(QStringLiteral("the file is too large."));
    // A byte more than allowed tells a file that grew since.
    QByteArray bytes(largest + 1, Qt::Uninitialized);
    qint64 got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(reasonOf(errno));
        if (n == 0)
            break;
        got += n;
    }
    if (got > largest)
        fail(QStringLiteral("the file is too large."));
    bytes.truncate(got);
    return bytes;
}

void replace(const Location &file, const QByteArray &bytes) {
    QByteArray target = file.native;
    QString shown = file.shown;
    const auto fail = [&shown](const QString &reason) {
        throw SettingsError(SettingsError::CannotWrite,
                            QStringLiteral("Cannot write %1: %2").arg(shown, reason));
    };
    if (target.isEmpty())
        fail(QStringLiteral("the program's folder cannot be found."));
    if (file.makeFolder) {
        if (const int error = makeFolders(folderOf(target)))
            fail(reasonOf(error));
    }

    // Through a link the file it points to is replaced, and named in messages.
    struct stat st;
    bool exists = false;
    for (int depth = 0;; ++depth) {
        if (::lstat(target.constData(), &st) != 0) {
            if (errno != ENOENT)
                fail(reasonOf(errno));
            break;
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            break;
        }
        if (depth == maxLinkDepth)
            fail(reasonOf(ELOOP));
        QByteArray to(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(target.constData(), to.data(), to.size());
        if (n < 0 || n >= to.size())
            fail(reasonOf(n < 0 ? errno : ENAMETOOLONG));
        to.truncate(n);
        target = to.startsWith('/') ? to : folderOf(target) + '/' + to;
        shown = QDir::cleanPath(QFile::decodeName(target));
    }
    // A device, a pipe or a socket is never turned into a file.
    if (exists && S_ISDIR(st.st_mode))
        fail(QStringLiteral("it is a folder."));
    if (exists && !S_ISREG(st.st_mode))
        fail(QStringLiteral("it is not a regular file."));
    if (exists && ::access(target.constData(), W_OK) != 0)
        fail(QStringLiteral("Existing file %1 is not writable").arg(shown));

    const QByteArray name = nameOf(target);
    const Fd dir(::open(folderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid())
        fail(reasonOf(errno));
    removeLeftovers(dir.get(), name);

    // Beside the file, so that the rename putting it in place is atomic.
    QByteArray temporary;
    Fd out;
    for (int attempt = 0; attempt < 100 && !out.valid(); ++attempt) {
        temporary = temporaryName(name);
        out.reset(::openat(dir.get(), temporary.constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!out.valid() && errno != EEXIST)
            fail(reasonOf(errno));
    }
    if (!out.valid())
        fail(reasonOf(EEXIST));
    const auto failRemoving = [&](int error) {
        ::unlinkat(dir.get(), temporary.constData(), 0);
        fail(reasonOf(error));
    };
    if (::flock(out.get(), LOCK_EX) != 0)
        failRemoving(errno);

    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(out.get(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            failRemoving(n < 0 ? errno : EIO);
        done += n;
    }
    if (exists) {
        // A user's file saved by root stays the user's. The owner first: a change of owner
        // clears the set-id bits that the mode then brings back.
        if (::fchown(out.get(), st.st_uid, st.st_gid) != 0 && errno != EPERM)
            failRemoving(errno);
        // Where modes mean nothing (a FAT stick) the system refuses them.
        if (::fchmod(out.get(), st.st_mode & 07777) != 0 && errno != EPERM)
            failRemoving(errno);
    }
    if (::fdatasync(out.get()) != 0)
        failRemoving(errno);
    if (::renameat(dir.get(), temporary.constData(), dir.get(), name.constData()) != 0)
        failRemoving(errno);
    // Without this a power cut can bring back the old file, or none. The new file is in place
    // by now, so a failure here is no failed save.
    ::fsync(dir.get());
}

} // namespace settings::fileio
