// SPDX-License-Identifier: GPL-3.0-or-later
// Windows' answers to where the program and the user's configuration are.
#include "platform/location.h"

#include <QDir>
#include <QStandardPaths>
#include <string>

#include <windows.h>

namespace titrova::platform {

QByteArray programFile() {
    // Wide all the way, so any name Windows allows comes through.
    static const QByteArray file = [] {
        std::wstring path(32768, L'\0');
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0 || n >= path.size())
            return QByteArray();
        return QFile::encodeName(
            QDir::fromNativeSeparators(QString::fromWCharArray(path.data(), int(n))));
    }();
    return file;
}

bool canWriteIn(const QByteArray &folder) {
    // Rights live in access lists that no attribute shows: try as a save would. The system
    // deletes the file when its handle closes, even when the process dies first.
    const QString probe = QDir::toNativeSeparators(QFile::decodeName(folder) +
                                                   QStringLiteral("titrova-write-test.tmp"));
    const HANDLE h =
        ::CreateFileW(probe.toStdWString().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_EXISTS;
    ::CloseHandle(h);
    return true;
}

bool exists(const QByteArray &file) {
    return ::GetFileAttributesW(
               QDir::toNativeSeparators(QFile::decodeName(file)).toStdWString().c_str()) !=
           INVALID_FILE_ATTRIBUTES;
}

QByteArray userConfigFolder() {
    // %LOCALAPPDATA%: the user's own, not roaming with the profile.
    return QFile::encodeName(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

} // namespace titrova::platform
