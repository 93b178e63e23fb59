// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace settings {

// Where the settings file is. A path on Linux is bytes that need not be text, so the system is
// handed the bytes and the user is shown a readable name.
struct Location {
    QByteArray native; // empty: there is no place the file can be
    QString shown;
    bool makeFolder = false; // the folder may be missing until the first save

    Location() = default;
    // A path that is text, as tests and other callers have it.
    Location(const QString &path)
        : native(QFile::encodeName(path))
        , shown(QDir::toNativeSeparators(path)) {}
    static Location fromNative(const QByteArray &path, bool makeFolder = false);
};

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

// The running program's file as the system names it; empty when it cannot say.
QByteArray programFile();

// The parts of the choice that ask the system; one implementation a platform.
namespace system {
QByteArray programFile();
bool canWriteIn(const QByteArray &folder);
bool exists(const QByteArray &file);
// The desktop's configuration folder for this user; empty when there is none.
QByteArray userConfigFolder();
} // namespace system

} // namespace settings
