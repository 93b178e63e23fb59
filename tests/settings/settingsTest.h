// SPDX-License-Identifier: GPL-3.0-or-later
// What the settings tests share: the files they write and how a refusal is caught.
#pragma once

#include "platform/location.h"
#include "settings/settingsFile.h"
#include "tests/common/files.h"

#include <QtTest>
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

using namespace titrova;
using namespace Qt::StringLiterals;
using settings::SettingsError;
using settings::SettingsTable;
using testfiles::builtInFile;
using testfiles::failure;
using testfiles::newFile;
