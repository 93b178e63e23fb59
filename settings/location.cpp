// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/location.h"

#include <QDir>

namespace settings {

Location Location::fromNative(const QByteArray &path, bool makeFolder) {
    Location l;
    l.native = path;
    // C:\Tools\settings.cfg on Windows, as its users write paths.
    l.shown = QDir::toNativeSeparators(QFile::decodeName(path));
    l.makeFolder = makeFolder;
    return l;
}

namespace {

// Saves are refused with a message that still names a file.
Location nowhere() {
    Location l;
    l.shown = QStringLiteral("settings.cfg");
    return l;
}

} // namespace

QByteArray programFile() {
    static const QByteArray file = system::programFile();
    return file;
}

Location settingsLocation(const QByteArray &programFile, bool folderWritable,
                          const QByteArray &configFolder) {
    const qsizetype slash = programFile.lastIndexOf('/');
    if (slash < 0)
        return nowhere();
    if (folderWritable)
        return Location::fromNative(programFile.left(slash + 1) + "settings.cfg");
    // The desktop's rules: a relative folder is ignored.
    if (!QDir::isAbsolutePath(QFile::decodeName(configFolder)))
        return nowhere();
    QByteArray config = configFolder;
    while (config.endsWith('/'))
        config.chop(1);
    return Location::fromNative(config + "/titrova/settings.cfg", true);
}

Location settingsLocation() {
    const QByteArray program = programFile();
    const QByteArray folder = program.left(program.lastIndexOf('/') + 1);
    const bool writable = !folder.isEmpty() && system::canWriteIn(folder);
    return settingsLocation(program, writable,
                            writable ? QByteArray() : system::userConfigFolder());
}

} // namespace settings
