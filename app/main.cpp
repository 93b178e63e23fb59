// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bundledFonts.h"
#include "settings/settingstable.h"
#include "ui/about/programIcon.h"
#include "ui/appInfo.h"
#include "ui/common/fixedWindows.h"
#include "ui/main/frmAcid.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    addBundledFonts();
    QApplication::setApplicationName(QStringLiteral("Titrova"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setWindowIcon(titleBarIcon(app.devicePixelRatio()));
    QGuiApplication::setDesktopFileName(appInfo::appId());

    fixedWindows::install();

    frmAcid window(settings::settingsPathFor(QCoreApplication::applicationDirPath()));
    window.Form_Load();
    if (window.refusedToRun())
        return 1;
    window.show();
    // The other sizes once the window is on screen.
    QTimer::singleShot(0, &app, [] { QApplication::setWindowIcon(programIcon()); });
    // bench/startup-callgrind.sh counts instructions up to here.
    if (qEnvironmentVariableIsSet("TITROVA_BENCH_EXIT_AT_SHOW"))
        std::_Exit(0);
    return app.exec();
}
