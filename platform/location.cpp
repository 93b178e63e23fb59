// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/location.h"

namespace titrova::platform {

Location Location::fromNative(const QByteArray &path, bool makeFolder) {
    Location l;
    l.native = path;
    // C:\Tools\settings.cfg on Windows, as its users write paths.
    l.shown = QDir::toNativeSeparators(QFile::decodeName(path));
    l.makeFolder = makeFolder;
    return l;
}

} // namespace titrova::platform
