// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and saving with Linux's own calls: a path is bytes here.
#include "platform/files.h"

#include "platform/filesShared.h"

#include <QDir>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace titrova::platform::files {
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
    int release() { return std::exchange(m_fd, -1); }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

QString reasonOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

Kind kindOf(const struct stat &st) {
    return S_ISDIR(st.st_mode) ? Kind::Folder : S_ISREG(st.st_mode) ? Kind::Regular : Kind::Other;
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
    // Latin-1 keeps every byte as it is, whatever the names' encoding.
    const QString latin1Name = QString::fromLatin1(name);
    while (const dirent *e = ::readdir(entries)) {
        if (!isTemporaryOf(QString::fromLatin1(e->d_name), latin1Name, Qt::CaseSensitive))
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

Reader::Reader(const Location &file)
    : m_file(file) {
    // Without waiting: a pipe swapped in after a check would wait for a writer for ever.
    Fd fd(::open(file.native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid())
        fail(file.shown, errno == ENOENT ? notFound() : reasonOf(errno));
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        fail(file.shown, reasonOf(errno));
    m_kind = kindOf(st);
    m_size = st.st_size;
    m_handle = fd.release();
}

Reader::~Reader() {
    ::close(int(m_handle));
}

qint64 Reader::read(char *buffer, qint64 room) {
    for (;;) {
        const ssize_t n = ::read(int(m_handle), buffer, size_t(room));
        if (n >= 0)
            return n;
        if (errno != EINTR)
            fail(m_file.shown, reasonOf(errno));
    }
}

void replace(const Location &file, const QByteArray &bytes) {
    QByteArray target = file.native;
    QString shown = file.shown;
    const auto failWith = [&shown](const QString &reason) { fail(shown, reason); };
    if (file.makeFolder) {
        if (const int error = makeFolders(folderOf(target)))
            failWith(reasonOf(error));
    }

    // Through a link the file it points to is replaced, and named in messages.
    struct stat st;
    bool exists = false;
    for (int depth = 0;; ++depth) {
        if (::lstat(target.constData(), &st) != 0) {
            if (errno != ENOENT)
                failWith(reasonOf(errno));
            break;
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            break;
        }
        if (depth == maxLinkDepth)
            failWith(reasonOf(ELOOP));
        QByteArray to(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(target.constData(), to.data(), to.size());
        if (n < 0 || n >= to.size())
            failWith(reasonOf(n < 0 ? errno : ENAMETOOLONG));
        to.truncate(n);
        target = to.startsWith('/') ? to : folderOf(target) + '/' + to;
        shown = QDir::cleanPath(QFile::decodeName(target));
    }
    if (exists) {
        refuseIrregular(shown, kindOf(st));
        if (::access(target.constData(), W_OK) != 0)
            failWith(notWritable());
    }

    const QByteArray name = nameOf(target);
    const Fd dir(::open(folderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid())
        failWith(reasonOf(errno));
    removeLeftovers(dir.get(), name);

    // Beside the file, so that the rename putting it in place is atomic.
    QByteArray temporary;
    Fd out;
    for (int attempt = 0; attempt < 100 && !out.valid(); ++attempt) {
        temporary = name + temporarySuffix();
        out.reset(::openat(dir.get(), temporary.constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!out.valid() && errno != EEXIST)
            failWith(reasonOf(errno));
    }
    if (!out.valid())
        failWith(reasonOf(EEXIST));
    const auto failRemoving = [&](int error) {
        ::unlinkat(dir.get(), temporary.constData(), 0);
        failWith(reasonOf(error));
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

} // namespace titrova::platform::files
