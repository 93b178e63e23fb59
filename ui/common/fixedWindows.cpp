// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/fixedWindows.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

const char *const guarded = "titrovaFixedGuard";

void unbound(QWindow *window) {
    if (window->minimumSize() != QSize(0, 0))
        window->setMinimumSize(QSize(0, 0));
    if (window->maximumSize() != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX))
        window->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

bool normal(const QWindow *window) {
    return !(window->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen));
}

// A normal window may take any size it likes, but only once every configure Qt has applied
// has reached the window: a maximize applied and not yet delivered would still read as normal.
void restore(QWidget *top, QWindow *window, QSize designed) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (normal(window) && window->size() != designed)
        top->resize(designed);
}

void guard(QWidget *top, QWindow *window) {
    if (window->property(guarded).toBool() || top->minimumSize() != top->maximumSize())
        return;
    window->setProperty(guarded, true);
    const QSize designed = top->minimumSize();
    unbound(window);
    const auto sized = [top = QPointer<QWidget>(top), window, designed] {
        unbound(window);
        if (normal(window) && window->size() != designed)
            QTimer::singleShot(0, window, [top, window, designed] {
                if (top)
                    restore(top, window, designed);
            });
    };
    QObject::connect(window, &QWindow::widthChanged, top, sized);
    QObject::connect(window, &QWindow::heightChanged, top, sized);
}

class Guard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!watched->isWidgetType())
            return false;
        auto *w = static_cast<QWidget *>(watched);
        if (!w->isWindow() || !w->windowHandle())
            return false;
        if (event->type() == QEvent::Show) {
            guard(w, w->windowHandle());
        } else if (event->type() == QEvent::LayoutRequest &&
                   w->windowHandle()->property(guarded).toBool()) {
            // A layout that settles hands the widget's fixed size to its window again.
            QTimer::singleShot(0, w->windowHandle(), [h = w->windowHandle()] { unbound(h); });
        }
        return false;
    }
};

} // namespace

void titrova::fixedWindows::install() {
    // Elsewhere the window manager honours the fixed size; spare the other events a filter.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qApp->installEventFilter(new Guard(qApp));
}
