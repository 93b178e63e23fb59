// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every window of the program has a fixed size and no maximize button, but a Wayland
// compositor may maximize any window (weston's Super+Shift+M) and must then get a surface of
// exactly the size it configured, or it ends the connection. Qt holds a window's size between
// its minimum and maximum when it applies a configure, and the compositor's state arrives
// with no warning, so a fixed window's Wayland surface is given no such bounds at all: it
// takes every configured size as it comes, its controls staying at their designed places. In
// the normal state it goes back to its designed size.
namespace titrova::fixedWindows {

// Installs the guard for every top-level window of the application (only where needed).
void install();

} // namespace titrova::fixedWindows
