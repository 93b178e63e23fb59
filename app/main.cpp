// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about/programIcon.h"
#include "ui/main/fixedWindows.h"
#include "ui/main/frmAcid.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Titrova"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Titrova"));

    fixedWindows::install();

    frmAcid window;
    window.Form_Load();
    if (window.refusedToRun())
        return 1;
    window.show();
    return app.exec();
}
