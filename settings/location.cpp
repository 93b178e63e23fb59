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

namespace {

// The desktop's rules: a relative folder is ignored.
QByteArray ownFile(const QByteArray &configFolder) {
    if (!QDir::isAbsolutePath(QFile::decodeName(configFolder)))
        return QByteArray();
    QByteArray config = configFolder;
    while (config.endsWith('/'))
        config.chop(1);
    return config + "/titrova/settings.cfg";
}

} // namespace

SettingsFiles settingsFiles(const QByteArray &programFile, bool folderWritable,
                            const QByteArray &configFolder, bool ownFileExists) {
    const QByteArray own = ownFile(configFolder);
    if (ownFileExists && !own.isEmpty())
        return Location::fromNative(own);
    const qsizetype slash = programFile.lastIndexOf('/');
    const Location beside =
        slash < 0 ? nowhere() : Location::fromNative(programFile.left(slash + 1) + "settings.cfg");
    if (folderWritable || slash < 0)
        return beside;
    return {beside, own.isEmpty() ? nowhere() : Location::fromNative(own, true)};
}

SettingsFiles settingsFiles() {
    const QByteArray program = programFile();
    const QByteArray folder = program.left(program.lastIndexOf('/') + 1);
    const QByteArray config = system::userConfigFolder();
    const QByteArray own = ownFile(config);
    return settingsFiles(program, !folder.isEmpty() && system::canWriteIn(folder), config,
                         !own.isEmpty() && system::exists(own));
}

} // namespace settings
