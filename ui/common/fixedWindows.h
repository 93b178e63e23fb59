// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every window of the program has a fixed size and no maximize button, but some window
// systems (Wayland client-side decorations) offer one anyway, and a compositor may maximize
// a window regardless. A maximized Wayland surface must take exactly the size the compositor
// gives, or the compositor ends the connection; so a fixed window accepts that size for the
// moment and asks straight back to its normal state and designed size.
namespace fixedWindows {

// Installs the guard for every top-level window of the application (only where needed).
void install();

} // namespace fixedWindows
