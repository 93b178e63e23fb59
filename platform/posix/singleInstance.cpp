// SPDX-License-Identifier: GPL-3.0-or-later
// The lock on Linux: flock on a file in the runtime folder.
#include "platform/singleInstance.h"

#include "platform/location.h"
#include "platform/runtimeFolder.h"

#include <QCryptographicHash>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace titrova::singleInstance {

Lock::Lock(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    // Not inherited by the programs we start (the calculator), which would hold the lock on
    // after we end; not blocking on a FIFO; not following a link someone put at the name.
    const int flags = O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW;
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | flags, 0600);
    if (fd < 0) // flock needs no write access
        fd = ::open(name.constData(), O_RDONLY | flags);
    if (fd < 0)
        return;
    // A folder, a device or another user's file at the name is no sign of a copy of ours.
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return;
    }
    int r;
    do
        r = ::flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    if (r == 0) {
        m_handle = fd;
        m_state = Held;
        return;
    }
    m_state = errno == EWOULDBLOCK ? Refused : Unguarded;
    ::close(fd);
}

Lock::~Lock() {
    if (m_handle >= 0)
        ::close(int(m_handle));
}

QString lockPath() {
    // Per program file: another copy of the program in another folder is no rival.
    // By its bytes: any name a folder may have tells copies apart.
    const QByteArray program = platform::programFile();
    const QString id = QString::fromLatin1(
        QCryptographicHash::hash(program, QCryptographicHash::Sha1).toHex().left(16));
    const QByteArray folder = runtimeFolder::choose();
    // Nowhere to lock: the lock is unguarded and the start goes on.
    if (folder.isEmpty())
        return QString();
    return QFile::decodeName(folder) +
           QStringLiteral("/titrova-%1-%2.lock").arg(QString::number(::getuid()), id);
}

} // namespace titrova::singleInstance
