// SPDX-License-Identifier: GPL-3.0-or-later
// The lock on Windows: a named mutex in the session's namespace. The system closes it when the
// process ends in any way, so a killed copy never blocks the next start, and creating it is
// one step, so of two simultaneous starts exactly one finds it new.
#include "platform/singleInstance.h"

#include "platform/location.h"

#include <QCryptographicHash>
#include <QFile>

#include <windows.h>

namespace titrova::singleInstance {

Lock::Lock(const QString &path) {
    // A mutex's name takes no backslash past its namespace: the path goes in hashed. Windows'
    // paths ignore case.
    const QByteArray id =
        QCryptographicHash::hash(path.toCaseFolded().toUtf8(), QCryptographicHash::Sha1).toHex();
    const std::wstring name =
        (QStringLiteral("Local\\titrova-") + QString::fromLatin1(id.left(32))).toStdWString();
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    // Another kind of object at the name is no sign of a copy of ours.
    if (!mutex)
        return;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        m_state = Refused;
        return;
    }
    m_handle = reinterpret_cast<qintptr>(mutex);
    m_state = Held;
}

Lock::~Lock() {
    if (m_handle != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

QString lockPath() {
    // Per program file: another copy of the program in another folder is no rival.
    return QFile::decodeName(platform::programFile());
}

} // namespace titrova::singleInstance
