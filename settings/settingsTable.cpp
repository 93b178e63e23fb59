// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingsTable.h"

namespace titrova::settings {

SettingsError::SettingsError(int number, const QString &description)
    : std::runtime_error(description.toStdString())
    , m_number(number)
    , m_description(description) {}

QString shownInMessage(const QString &key) {
    constexpr qsizetype longest = 40;
    if (key.size() <= longest)
        return u'"' + key + u'"';
    return u'"' + key.left(longest) + QStringLiteral("...\"");
}

void SettingsTable::add(const QString &key, const QVariant &value) {
    QString folded = key.toCaseFolded();
    if (m_values.contains(folded))
        throw SettingsError(
            SettingsError::DuplicateKey,
            QStringLiteral("The setting %1 is already present.").arg(shownInMessage(key)));
    m_values.insert(std::move(folded), value);
}

QVariant SettingsTable::lookup(const QString &key) const {
    const auto it = m_values.constFind(key.toCaseFolded());
    if (it == m_values.cend())
        throw SettingsError(SettingsError::KeyMissing,
                            QStringLiteral("The setting %1 is missing.").arg(shownInMessage(key)));
    return *it;
}

void SettingsTable::remove(const QString &key) {
    if (!m_values.remove(key.toCaseFolded()))
        throw SettingsError(SettingsError::KeyMissing,
                            QStringLiteral("The setting %1 is missing.").arg(shownInMessage(key)));
}

void SettingsTable::removeIfPresent(const QString &key) {
    m_values.remove(key.toCaseFolded());
}

void SettingsTable::store(const QString &key, const QVariant &value) {
    m_values.insert(key.toCaseFolded(), value);
}

bool SettingsTable::contains(const QString &key) const {
    return m_values.contains(key.toCaseFolded());
}

SettingsTable &defaultSettings() {
    static SettingsTable table;
    return table;
}

} // namespace titrova::settings
