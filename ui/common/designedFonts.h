// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace titrova::controls {

// Gives labels, frames, option buttons and buttons the label font, text boxes and lists the
// box font, as the defaults of their classes: a font set on each control after it was made
// costs start-up time. Cheap when they are set already; each window calls it before it makes
// its controls.
void setDesignedFonts();

} // namespace titrova::controls
