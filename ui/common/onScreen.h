// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>

class QWidget;

// The windows open at designed places, drawn for a screen far larger than the window. On a
// small or scaled screen that place can leave a part, Calculate among it, beyond the edge or
// under a panel: such a window moves just as far as it must to lie inside the screen's
// available area, and stays where it was designed wherever it fits.
namespace titrova::onScreen {

// Where a window whose frame is `frame`, its client inside `margins`, goes so that it lies
// inside `available`; a frame larger than the area keeps its top left corner, and with it the
// title bar, inside. All in logical pixels, measured from the screen's corner, that Qt rounded
// from the screen's device pixels at `scale`: the window must fit in device pixels too.
QPoint fitted(const QRect &frame, const QRect &available, qreal scale = 1,
              const QMargins &margins = QMargins());

// Keeps `window`, placed with move() before it is shown, inside its screen each time it is
// shown.
void keep(QWidget *window);

} // namespace titrova::onScreen
