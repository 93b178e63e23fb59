// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bundledFonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>

void addBundledFonts() {
    const QDir fonts(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    for (const QString &name : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(name));
}
