// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"

#include "platform/filesShared.h"

#include <QRandomGenerator>

namespace titrova::platform {

FileError::FileError(const QString &file, const QString &reason)
    : std::runtime_error(reason.toStdString())
    , m_file(file)
    , m_reason(reason) {}

namespace files {

void fail(const QString &file, const QString &reason) {
    throw FileError(file, reason);
}

void refuseIrregular(const QString &file, Kind kind) {
    if (kind == Kind::Folder)
        fail(file, QStringLiteral("it is a folder."));
    if (kind == Kind::Other)
        fail(file, QStringLiteral("it is not a regular file."));
}

QString notFound() {
    return QStringLiteral("the file does not exist.");
}

QString notWritable() {
    return QStringLiteral("Existing file is not writable");
}

QByteArray temporarySuffix() {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray out(1, '.');
    for (int i = 0; i < 6; ++i)
        out += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return out;
}

bool isTemporaryOf(QStringView entry, QStringView name, Qt::CaseSensitivity cs) {
    if (entry.size() != name.size() + 7 || !entry.startsWith(name, cs) ||
        entry.at(name.size()) != u'.')
        return false;
    for (const QChar c : entry.sliced(name.size() + 1)) {
        if (!(c.isDigit() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    }
    return true;
}

} // namespace files

namespace {

// No program folder, no file beside it: refused before the system is asked.
void refuseNowhere(const Location &file) {
    if (file.native.isEmpty())
        files::fail(file.shown, QStringLiteral("the program's folder cannot be found."));
}

} // namespace

QByteArray readRegular(const Location &file, qint64 largest) {
    refuseNowhere(file);
    files::Reader in(file);
    files::refuseIrregular(file.shown, in.kind());
    const QString tooLarge = QStringLiteral("the file is too large.");
    if (in.size() > largest)
        files::fail(file.shown, tooLarge);
    // A byte more than allowed tells a file that grew since.
    QByteArray bytes(largest + 1, Qt::Uninitialized);
    qint64 got = 0;
    while (got < bytes.size()) {
        const qint64 n = in.read(bytes.data() + got, bytes.size() - got);
        if (n == 0)
            break;
        got += n;
    }
    if (got > largest)
        files::fail(file.shown, tooLarge);
    bytes.truncate(got);
    return bytes;
}

void replaceFile(const Location &file, const QByteArray &bytes) {
    refuseNowhere(file);
    files::replace(file, bytes);
}

} // namespace titrova::platform
