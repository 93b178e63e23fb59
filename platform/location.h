// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

// Where the program and the user's files are, as the system answers.
namespace titrova::platform {

// A file's place. A path on Linux is bytes that need not be text, so the system is handed the
// bytes and the user is shown a readable name.
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

// The running program's file as the system names it; empty when it cannot say. Asked once.
QByteArray programFile();
bool canWriteIn(const QByteArray &folder);
bool exists(const QByteArray &file);
// The desktop's configuration folder for this user; empty when there is none.
QByteArray userConfigFolder();

} // namespace titrova::platform
