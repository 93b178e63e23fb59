// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The portable folder brings the designed font along for systems that lack it (or have no
// fonts at all); a build or a system install has no fonts/ folder and adds nothing.
void addBundledFonts();
