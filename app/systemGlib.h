// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <utility>

// The portable folder brings glib for systems without it, and its lib/ is searched before the
// system's folders. A system whose GTK needs a newer glib than the folder's would then fail to
// load the GTK theme, so there the program starts again with the system's glib preloaded.
namespace systemGlib {

// The version a library's symlink names, as {2 minor * 100, micro}: libglib-2.0.so.0 pointing
// to libglib-2.0.so.0.7400.6 gives {7400, 6}. Nothing when the name is not such a link.
std::optional<std::pair<int, int>> linkedVersion(const std::string &link);

// The system's copies of the glib libraries the folder bundles, ':'-separated for LD_PRELOAD,
// when the system's glib is at least as new as the folder's; else empty.
std::string preload(const std::string &bundledFolder, const std::string &systemFolder);

// Called first in main(): starts the program again preloading the system's glib when the
// loaded one is the folder's and the system has one at least as new; after that start, gives
// back the environment the user had, so that programs started from here do not inherit it.
void prefer(char *argv[]);

} // namespace systemGlib
