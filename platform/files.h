// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/location.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

// Reading and replacing a file with the system's own calls, every step that can fail seen.
namespace titrova::platform {

// Why a file could not be read or saved: the file as the user knows it (the one a link leads
// to) and the reason, in the system's words or ours.
class FileError : public std::runtime_error {
public:
    FileError(const QString &file, const QString &reason);

    QString file() const { return m_file; }
    QString reason() const { return m_reason; }

private:
    QString m_file;
    QString m_reason;
};

// The bytes of a regular file of at most largest bytes. Never waits: a pipe or a device at
// the name is refused, not opened for reading. Throws FileError.
QByteArray readRegular(const Location &file, qint64 largest);

// Puts a complete new file in place of the old one, or leaves the old one as it was. A link
// is followed to the file it names; only a regular file is ever replaced, keeping its mode
// and, where the process may set them, its owner and group. Temporary files that an earlier,
// interrupted save left beside it are removed first. Throws FileError.
void replaceFile(const Location &file, const QByteArray &bytes);

} // namespace titrova::platform
