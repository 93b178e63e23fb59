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

// Beside the program where its folder is writable, else the user's own file in the desktop's
// configuration folder (made at the first save). Without a program file, or a configuration
// folder when one is needed, there is no place: never the root or the working folder.
Location settingsLocation(const QByteArray &programFile, bool folderWritable,
                          const QByteArray &configFolder);
// The same for the running program, as the system answers; decided once at start-up.
Location settingsLocation();

// The running program's file as the system names it; empty when it cannot say.
QByteArray programFile();

// The parts of the choice that ask the system; one implementation a platform.
namespace system {
QByteArray programFile();
bool canWriteIn(const QByteArray &folder);
// The desktop's configuration folder for this user; empty when there is none.
QByteArray userConfigFolder();
} // namespace system

} // namespace settings
