// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One running copy of the program per user and program file. The claim is a lock file that
// the system releases when the process ends in any way, so a crashed or killed copy never
// blocks the next start. Windows created within one process share the claim.
namespace singleInstance {

// True when this process holds the claim (it takes it on the first call).
bool claim();

} // namespace singleInstance
