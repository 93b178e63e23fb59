// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/location.h"

#include <QByteArray>
#include <QString>

namespace titrova::settings {

// Where the settings file is.
using Location = platform::Location;

// The file start-up reads and the file the dialog saves. The user's own file in the desktop's
// configuration folder comes first where it exists; else the one beside the program is read, and
// saved where the user can write it: beside the program, or in the user's own file (made at the
// first save) when the program's folder is not writable, so settings an administrator left in a
// read-only folder still count. Without a program file, or a configuration folder when one is
// needed, there is no place: never the root or the working folder.
struct SettingsFiles {
    Location read;
    Location save;

    SettingsFiles() = default;
    SettingsFiles(const Location &both)
        : read(both)
        , save(both) {}
    SettingsFiles(const QString &path)
        : SettingsFiles(Location(path)) {}
    SettingsFiles(const Location &read, const Location &save)
        : read(read)
        , save(save) {}
};
SettingsFiles settingsFiles(const QByteArray &programFile, bool folderWritable,
                            const QByteArray &configFolder, bool ownFileExists);
// The same for the running program, as the system answers; decided once at start-up.
SettingsFiles settingsFiles();

} // namespace titrova::settings
