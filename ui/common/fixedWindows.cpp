// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/fixedWindows.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

const char *const guarded = "titrovaFixedGuard";

void guard(QWidget *top, QWindow *window) {
    if (window->property(guarded).toBool() || top->minimumSize() != top->maximumSize())
        return;
    window->setProperty(guarded, true);
    const auto lifted = [window] { return window->maximumSize() != window->minimumSize(); };
    QObject::connect(window, &QWindow::windowStateChanged, top,
                     [window, lifted](Qt::WindowState s) {
                         if ((s == Qt::WindowMaximized || s == Qt::WindowFullScreen) && !lifted()) {
                             window->setMinimumSize(QSize(0, 0));
                             window->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
                         }
                     });
    // Back to normal only once the compositor's size is on screen, and fixed again only once
    // it has given the normal size back: until then every frame must keep its size.
    const auto sized = [top, window, lifted] {
        if (!lifted())
            return;
        if (window->size() == top->minimumSize() && window->windowState() == Qt::WindowNoState) {
            window->setMinimumSize(top->minimumSize());
            window->setMaximumSize(top->maximumSize());
        } else if (window->windowState() != Qt::WindowNoState) {
            QTimer::singleShot(0, window, [window] { window->setWindowStates(Qt::WindowNoState); });
        }
    };
    QObject::connect(window, &QWindow::widthChanged, top, sized);
    QObject::connect(window, &QWindow::heightChanged, top, sized);
}

class Guard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *w = static_cast<QWidget *>(watched);
            if (w->isWindow() && w->windowHandle())
                guard(w, w->windowHandle());
        }
        return false;
    }
};

} // namespace

void fixedWindows::install() {
    // Elsewhere the window manager honours the fixed size; spare the other events a filter.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qApp->installEventFilter(new Guard(qApp));
}
