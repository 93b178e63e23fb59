// SPDX-License-Identifier: GPL-3.0-or-later
// Linux's answers to where the program and the user's configuration are.
#include "platform/location.h"

#include <QByteArray>
#include <climits>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace titrova::platform {

QByteArray programFile() {
    // The link holds the path as bytes, whatever they are; Qt's own answer is empty when they
    // are not valid in the locale's encoding.
    static const QByteArray file = [] {
        QByteArray path(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
        if (n <= 0 || n >= path.size() || path.front() != '/')
            return QByteArray();
        path.truncate(n);
        return path;
    }();
    return file;
}

bool canWriteIn(const QByteArray &folder) {
    return ::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool exists(const QByteArray &file) {
    return ::faccessat(AT_FDCWD, file.constData(), F_OK, AT_EACCESS) == 0;
}

QByteArray userConfigFolder() {
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    if (config.startsWith('/'))
        return config;
    QByteArray home = qgetenv("HOME");
    if (!home.startsWith('/')) {
        const passwd *pw = ::getpwuid(::geteuid());
        home = pw && pw->pw_dir ? QByteArray(pw->pw_dir) : QByteArray();
    }
    return home.startsWith('/') ? home + (home.endsWith('/') ? ".config" : "/.config")
                                : QByteArray();
}

} // namespace titrova::platform
