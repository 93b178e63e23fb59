// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/onScreen.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {

int fittedStart(int start, int length, int areaStart, int areaLength) {
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

// Before a window is first mapped its own frame is unknown; another window's frame, drawn by
// the same window manager, is the best guess.
QMargins frameGuess(QWidget *window) {
    for (QWidget *other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && other->windowHandle() &&
            !other->windowHandle()->frameMargins().isNull())
            return other->windowHandle()->frameMargins();
    }
    return {};
}

bool frameKnown(QWidget *window) {
    return window->windowHandle() && !window->windowHandle()->frameMargins().isNull();
}

void fit(QWidget *window) {
    const QRect frame = frameKnown(window) ? window->frameGeometry()
                                           : window->geometry().marginsAdded(frameGuess(window));
    QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = window->screen();
    const QPoint to = onScreen::fitted(frame, screen->availableGeometry());
    // move() places the frame's corner.
    if (to != frame.topLeft())
        window->move(to);
}

class Keeper : public QObject {
    bool framePending = false;

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *window = static_cast<QWidget *>(watched);
        // Show comes before the window is mapped, so a move here is never seen. The window
        // manager's frame arrives later, with a move; the user's own moves are left alone.
        if (event->type() == QEvent::Show) {
            fit(window);
            framePending = !frameKnown(window);
            QTimer::singleShot(2000, this, [this] { framePending = false; });
        } else if (framePending &&
                   (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
                   frameKnown(window)) {
            framePending = false;
            fit(window);
        }
        return false;
    }
};

} // namespace

QPoint onScreen::fitted(const QRect &frame, const QRect &available) {
    return {fittedStart(frame.x(), frame.width(), available.x(), available.width()),
            fittedStart(frame.y(), frame.height(), available.y(), available.height())};
}

void onScreen::keep(QWidget *window) {
    // A Wayland compositor places windows itself.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        window->installEventFilter(new Keeper(window));
}
