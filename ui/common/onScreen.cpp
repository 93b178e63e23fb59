// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/onScreen.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace {

// Qt shows device pixels n as logical qRound(n / scale): the most and the fewest device pixels
// a logical figure can stand for.
int mostDevice(int logical, qreal scale) {
    return int(std::ceil(scale * (logical + 0.5))) - 1;
}
int fewestDevice(int logical, qreal scale) {
    return int(std::ceil(scale * (logical - 0.5)));
}

// One direction of fitted(). At a fractional scale, or with a frame of an odd number of device
// pixels at 200 %, a frame that ends on the area's last logical pixel can end a device pixel
// past the screen's last: so the frame is taken as long, and the area as short, as their
// logical figures allow. The client's device length is known: Qt made it from the logical.
int fittedStart(int start, int client, int before, int after, int areaStart, int areaLength,
                qreal scale) {
    const int length =
        qRound(scale * client) + mostDevice(before, scale) + mostDevice(after, scale);
    const int first = mostDevice(areaStart, scale);
    const int end = fewestDevice(areaStart, scale) + fewestDevice(areaLength, scale);
    // The frame goes to device pixel qRound(scale * start).
    const int latest = int(std::ceil((end - length + 0.5) / scale)) - 1;
    const int earliest = int(std::ceil((first - 0.5) / scale));
    return std::max(earliest, std::min(start, latest));
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

// Fits the window's frame, its client at `client`, and returns where the client goes.
QPoint fit(QWidget *window, QPoint client) {
    const QMargins margins =
        frameKnown(window) ? window->windowHandle()->frameMargins() : frameGuess(window);
    const QRect frame = QRect(client, window->size()).marginsAdded(margins);
    QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = window->screen();
    // Qt scales positions from the screen's corner, which logical and device pixels share.
    const QPoint corner = screen->geometry().topLeft();
    const QPoint to =
        corner + titrova::onScreen::fitted(frame.translated(-corner),
                                           screen->availableGeometry().translated(-corner),
                                           screen->devicePixelRatio(), margins);
    // move() places the frame's corner.
    if (to != (frameKnown(window) ? window->frameGeometry().topLeft() : frame.topLeft()))
        window->move(to);
    return to + QPoint(margins.left(), margins.top());
}

class Keeper : public QObject {
    QTimer frameWait;
    int waits = 0;
    QPoint client; // where the show put the client

public:
    explicit Keeper(QWidget *window)
        : QObject(window) {
        frameWait.setInterval(50);
        connect(&frameWait, &QTimer::timeout, this, [this, window] {
            if (frameKnown(window)) {
                frameWait.stop();
                fit(window, client);
            } else if (++waits == 40) {
                frameWait.stop();
            }
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *window = static_cast<QWidget *>(watched);
        // Show comes before the window is mapped, so a move here is never seen. The window
        // manager's frame comes later, and with no event to trust: a reparenting one first
        // reports the client's place inside its new frame, and one that keeps the client
        // where it is moves nothing. So the frame is awaited, and the window fitted once more
        // from where the show put it; the user's own moves are left alone.
        if (event->type() == QEvent::Show) {
            frameWait.stop();
            client = fit(window, window->geometry().topLeft());
            if (!frameKnown(window)) {
                waits = 0;
                frameWait.start();
            }
        }
        return false;
    }
};

} // namespace

QPoint titrova::onScreen::fitted(const QRect &frame, const QRect &available, qreal scale,
                                 const QMargins &margins) {
    const QRect client = frame.marginsRemoved(margins);
    return {fittedStart(frame.x(), client.width(), margins.left(), margins.right(), available.x(),
                        available.width(), scale),
            fittedStart(frame.y(), client.height(), margins.top(), margins.bottom(), available.y(),
                        available.height(), scale)};
}

void titrova::onScreen::keep(QWidget *window) {
    // A Wayland compositor places windows itself.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        window->installEventFilter(new Keeper(window));
}
