// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/settingstable.h"

#include <QString>
#include <functional>
#include <utility>

namespace testfiles {

// The error's number and description, or 0 and nothing.
inline std::pair<int, QString> failure(const std::function<void()> &f) {
    try {
        f();
    } catch (const titrova::settings::SettingsError &e) {
        return {e.number(), e.description()};
    }
    return {0, QString()};
}

} // namespace testfiles
