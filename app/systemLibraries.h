// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The portable folder brings the libraries Qt needs for systems without them, and its lib/ is
// searched before the system's folders, for the system's libraries too. A newer system's GTK,
// loaded by the GTK theme, then met the folder's older glib or HarfBuzz and failed to load.
// So where the system has a newer copy, the program starts again with it preloaded.
namespace titrova::systemLibraries {

// The version a soname's link names: libglib-2.0.so.0 pointing to libglib-2.0.so.0.7400.6
// gives {7400, 6}. Nothing when the soname is not such a link.
std::vector<int> linkedVersion(const std::string &link);

// The system's copies, ':'-separated for LD_PRELOAD, of the folder's libraries (Qt's own
// excepted) that the system has newer; the glib family as one, and already when as new.
std::string preload(const std::string &bundledFolder, const std::string &systemFolder);

// Called first in main(): starts the program again with those preloaded when the loaded glib
// is the folder's; in that second start, gives back the environment the user had, so that
// programs started from here do not inherit it.
void prefer(char *argv[]);

} // namespace titrova::systemLibraries
