// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Where the program, and Qt for it, keep what lives only while the program runs: the
// single-copy lock and the like. Nothing of it goes anywhere else.
namespace titrova::runtimeFolder {

// The desktop's runtime folder when it is usable (a folder of this user's, named by an
// absolute path), else a private folder of the program's own in the temp folder, made when
// missing; empty when neither can be had. XDG_RUNTIME_DIR is set to it, so that Qt keeps its
// own there too: call before the application object exists.
QByteArray choose();

} // namespace titrova::runtimeFolder
