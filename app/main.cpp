// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bundledFonts.h"
#ifdef TITROVA_PREFER_SYSTEM_LIBRARIES
#include "app/systemLibraries.h"
#endif
#include "platform/runtimeFolder.h"
#include "settings/location.h"
#include "ui/about/programIcon.h"
#include "ui/appInfo.h"
#include "ui/common/fixedWindows.h"
#include "ui/main/frmAcid.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

using namespace titrova;

namespace {

// Gives the application every size of its icon once the main window has first been drawn:
// decoding them earlier would delay it.
class CompleteIcon : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                QApplication::setWindowIcon(programIcon());
                deleteLater();
            });
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[]) {
#ifdef TITROVA_PREFER_SYSTEM_LIBRARIES
    systemLibraries::prefer(argv);
#endif
    runtimeFolder::choose();
    QApplication app(argc, argv);
    addBundledFonts();
    QApplication::setApplicationName(QStringLiteral("Titrova"));
#ifdef Q_OS_WIN
    // Windows users meet the native look; elsewhere one look whatever the desktop's theme.
    QApplication::setStyle(QStringLiteral("windowsvista"));
#else
    QApplication::setStyle(QStringLiteral("Fusion"));
#endif
    QApplication::setWindowIcon(titleBarIcon(app.devicePixelRatio()));
    QGuiApplication::setDesktopFileName(appInfo::appId());

    fixedWindows::install();

    frmAcid window(settings::settingsFiles());
    window.Form_Load();
    if (window.refusedToRun())
        return 1;
    window.show();
    window.windowHandle()->installEventFilter(new CompleteIcon(&app));
    return app.exec();
}
