// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bundledFonts.h"

#include "platform/location.h"

#include <QDir>
#include <QFontDatabase>

void addBundledFonts() {
    // Qt names no program folder when its name is not text, and the fonts would then be
    // looked for at the root.
    const QByteArray program = titrova::platform::programFile();
    if (program.isEmpty())
        return;
    const QDir fonts(QFile::decodeName(program.left(program.lastIndexOf('/'))) +
                     QStringLiteral("/fonts"));
    for (const QString &name : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(name));
}
