// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/runtimeFolder.h"

#include <QtGlobal>
#include <sys/stat.h>
#include <unistd.h>

namespace titrova::runtimeFolder {
namespace {

bool ours(const QByteArray &folder, bool followLink) {
    struct stat st;
    const int r = followLink ? ::stat(folder.constData(), &st) : ::lstat(folder.constData(), &st);
    return r == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

} // namespace

QByteArray choose() {
    const QByteArray given = qgetenv("XDG_RUNTIME_DIR");
    // Qt makes a folder of its own in the temp folder when this one is unusable, or a relative
    // one in the working folder.
    if (given.startsWith('/') && ours(given, true))
        return given;
    QByteArray temp = qgetenv("TMPDIR");
    if (!temp.startsWith('/'))
        temp = "/tmp";
    while (temp.size() > 1 && temp.endsWith('/'))
        temp.chop(1);
    const QByteArray own =
        (temp == "/" ? QByteArray() : temp) + "/titrova-runtime-" + QByteArray::number(::geteuid());
    ::mkdir(own.constData(), 0700);
    // Anyone may have made the name first in a shared temp folder: only a real folder of ours
    // will do, and no one else may enter it.
    if (!ours(own, false) || ::chmod(own.constData(), 0700) != 0)
        return QByteArray();
    qputenv("XDG_RUNTIME_DIR", own);
    return own;
}

} // namespace titrova::runtimeFolder
