// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/location.h"

#include <QDir>

namespace titrova::settings {
namespace {

// Saves are refused with a message that still names a file.
Location nowhere() {
    Location l;
    l.shown = QStringLiteral("settings.cfg");
    return l;
}

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
    const QByteArray program = platform::programFile();
    const QByteArray folder = program.left(program.lastIndexOf('/') + 1);
    const QByteArray config = platform::userConfigFolder();
    const QByteArray own = ownFile(config);
    return settingsFiles(program, !folder.isEmpty() && platform::canWriteIn(folder), config,
                         !own.isEmpty() && platform::exists(own));
}

} // namespace titrova::settings
