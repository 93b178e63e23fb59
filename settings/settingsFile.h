// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/location.h"
#include "settings/settingsTable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>

// settings.cfg: comma-separated fields, key then value, read as Latin-1 and written as ASCII.
namespace titrova::settings {

// The fields of a settings file, in order. A field ends at a comma or a line end (CR, LF or
// CRLF). Spaces and tabs before a field are skipped, and after a line end so are empty
// lines, so a final line end adds no field; a comma is always followed by a field, which
// may be empty. A field opening with a double quote is the text up to the next quote (across
// lines; to the end when unterminated), and the rest up to the field's end is dropped. Any
// other field loses its trailing spaces and tabs and is a double when it is a plain C number
// (optional sign, digits with at most one point, no exponent, within a double's range),
// QString otherwise. Never fails.
QList<QVariant> parseFields(QByteArrayView bytes);

// Adds every key-value pair to the table, a key being the text of its field even when it
// looks like a number. Throws SettingsError: OddFieldCount, or DuplicateKey from
// SettingsTable::add; the pairs before the fault stay added.
void readSettings(QByteArrayView bytes, SettingsTable &table);

// readSettings on the file's bytes; throws CannotRead when the file is missing, a folder,
// no regular file, larger than 64 KiB or unreadable, and never waits on a pipe.
void readSettingsFile(const Location &file, SettingsTable &table);

// The eight records of the file, CR LF after each. Every value is converted before anything
// is written, so a fault (KeyMissing, NotANumber, UnwritableText) costs no file. Texts are
// read as numbers by the locale.
QByteArray settingsFileBytes(const SettingsTable &table, const QLocale &locale = QLocale());

// Replaces the file (through a link: the file it points to, which must be a regular file) only
// by a complete new one with the old one's mode, and syncs its folder; throws CannotWrite
// naming that file with the system's reason, and leaves any old file as it was.
void writeSettingsFile(const Location &file, const QByteArray &bytes);

} // namespace titrova::settings
