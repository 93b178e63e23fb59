// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/location.h"

#include <QByteArray>
#include <QString>

// The system calls behind reading and saving the settings file; one implementation a
// platform. Failures are thrown as SettingsError, CannotRead or CannotWrite, naming the file.
namespace settings::fileio {

// The bytes of a regular file of at most largest bytes. Never waits: a pipe or a device at
// the name is refused, not opened for reading.
QByteArray readRegular(const Location &file, qint64 largest);

// Puts a complete new file in place of the old one, or leaves the old one as it was. A link
// is followed to the file it names; only a regular file is ever replaced, keeping its mode
// and, where the process may set them, its owner and group. Temporary files that an earlier,
// interrupted save left beside it are removed first.
void replace(const Location &file, const QByteArray &bytes);

} // namespace settings::fileio
