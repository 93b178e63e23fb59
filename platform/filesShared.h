// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/files.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// What reading and saving do alike on every system; each system gives its own calls.
namespace titrova::platform::files {

enum class Kind { Regular, Folder, Other };

[[noreturn]] void fail(const QString &file, const QString &reason);
// Only a regular file is read or replaced: a device or a pipe is never.
void refuseIrregular(const QString &file, Kind kind);
QString notFound();
// The message names the file already.
QString notWritable();

// What a save adds to the file's name for its temporary file: a dot and six letters or digits.
QByteArray temporarySuffix();
// Whether entry is the temporary file that an interrupted save of name left.
bool isTemporaryOf(QStringView entry, QStringView name, Qt::CaseSensitivity cs);

// A file opened for reading, and judged once open: what is judged is what is read. The
// constructor throws FileError, so does read.
class Reader {
public:
    explicit Reader(const Location &file);
    ~Reader();
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    Kind kind() const { return m_kind; }
    qint64 size() const { return m_size; }
    // Some bytes into buffer, none at the end.
    qint64 read(char *buffer, qint64 room);

private:
    const Location &m_file;
    qintptr m_handle = -1;
    Kind m_kind = Kind::Other;
    qint64 m_size = 0;
};

// The system's part of replaceFile, for a file with a place.
void replace(const Location &file, const QByteArray &bytes);

} // namespace titrova::platform::files
