// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/singleInstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>
#include <unistd.h>

namespace singleInstance {

bool claim() {
    static std::unique_ptr<QLockFile> lock;
    if (lock)
        return true;
    // Per user and per program file: another user's copy, or a test program, is no rival.
    const QByteArray program = QCoreApplication::applicationFilePath().toUtf8();
    const QString id = QString::fromLatin1(
        QCryptographicHash::hash(program, QCryptographicHash::Sha1).toHex().left(16));
    // The runtime folder is in memory on desktops; /tmp may be a disk that the lock flushes to.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QString path = QDir(folder).filePath(
        QStringLiteral("titrova-%1-%2.lock").arg(QString::number(::getuid()), id));
    auto candidate = std::make_unique<QLockFile>(path);
    // No age limit: a lock is stale only when its process is gone, which QLockFile checks.
    candidate->setStaleLockTime(0);
    if (!candidate->tryLock(0))
        return false;
    lock = std::move(candidate);
    return true;
}

} // namespace singleInstance
