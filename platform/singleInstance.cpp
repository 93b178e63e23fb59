// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/singleInstance.h"

#include <memory>

namespace titrova::singleInstance {

bool claim() {
    static std::unique_ptr<Lock> lock;
    if (lock)
        return true;
    auto candidate = std::make_unique<Lock>(lockPath());
    if (candidate->state() == Lock::Refused)
        return false;
    lock = std::move(candidate);
    return true;
}

} // namespace titrova::singleInstance
