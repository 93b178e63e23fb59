// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QIcon>

// The program's own images, shared by every window.

// The program icon, with an image rendered for each size so that small sizes stay crisp.
QIcon programIcon();

// Only the image nearest to a 32-pixel title bar at this scale: every image an icon holds is
// decoded and sent to the window system when a window shows it.
QIcon titleBarIcon(qreal devicePixelRatio);

// The 32 x 32 monochrome pointing hand shown over links; its hot spot (5, 0) is the fingertip.
QCursor pointingHandCursor();
