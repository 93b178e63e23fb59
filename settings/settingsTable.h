// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <stdexcept>

namespace titrova::settings {

// Every fault of the settings code travels as this exception; the start-up falls back on
// it and the dialog shows its number and description.
class SettingsError : public std::runtime_error {
public:
    enum Number {
        CannotRead = 1,     // the file is missing, a folder, no regular file, too big, unreadable
        OddFieldCount = 2,  // the file ends between a key and its value
        DuplicateKey = 3,   // add() of a key already present, in any letter case
        KeyMissing = 4,     // lookup() or remove() of an absent key
        MethodRefused = 5,  // the method list does not hold the saved method
        NotANumber = 6,     // a number to be written does not convert (or not to a single)
        CannotWrite = 7,    // the file cannot be created, written or put in place
        UnwritableText = 8, // a text to be written would break the file (quote, line end, ...)
    };

    SettingsError(int number, const QString &description);

    int number() const { return m_number; }
    QString description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

// A key or value quoted for a message: a key read from a damaged file can be megabytes long.
QString shownInMessage(const QString &key);

// Keys are matched without regard to letter case because the program writes some keys in
// one case and looks them up in another ("batchunits" / batchUnits).
class SettingsTable {
public:
    void add(const QString &key, const QVariant &value);
    QVariant lookup(const QString &key) const;
    void remove(const QString &key);
    // Saving replaces its entries whether or not a file had them.
    void removeIfPresent(const QString &key);
    // Replaces or adds: the start-up fallback must succeed over a half-read file.
    void store(const QString &key, const QVariant &value);

    bool contains(const QString &key) const;
    qsizetype size() const { return m_values.size(); }
    void clear() { m_values.clear(); }

private:
    QHash<QString, QVariant> m_values; // by case-folded key
};

// The one table of the program, empty until the start-up fills it.
SettingsTable &defaultSettings();

} // namespace titrova::settings
