// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/runtimeFolder.h"

namespace titrova::runtimeFolder {

// The lock is a kernel object with no file, and Qt keeps nothing of its own on disk here.
QByteArray choose() {
    return QByteArray();
}

} // namespace titrova::runtimeFolder
