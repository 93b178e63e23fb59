// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/defaults.h"

#include "calc/numbers.h"

#include <optional>

namespace titrova::settings {
namespace {

// A number read from the file never equals a caption.
QString textOf(const QVariant &value) {
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

std::optional<double> numberOf(const QVariant &value, const QLocale &locale) {
    if (value.typeId() == QMetaType::Double)
        return value.toDouble();
    return numbers::toDouble(value.toString(), locale);
}

// A text that is no number goes into the box as it is; the box's own checks deal with it.
QString standardText(const QVariant &value, const QLocale &locale) {
    const auto d = numberOf(value, locale);
    return d ? numbers::standardFromDouble(*d, locale) : value.toString();
}

QString wholeText(const QVariant &value, const QLocale &locale) {
    const auto d = numberOf(value, locale);
    if (!d)
        return value.toString();
    const QString whole = numbers::wholeFromDouble(*d, locale);
    // "##" shows zero as nothing; a share box must show it.
    return whole.isEmpty() ? QStringLiteral("0") : whole;
}

} // namespace

void applyDefaults(const SettingsTable &table, DefaultsTarget &target, const QLocale &locale) {
    // The direction fills the method list, so it comes before the method.
    const QString direction = textOf(table.lookup(setting(Key::Direction).key));
    if (direction == raiseValue || direction == lowerValue) {
        target.selectDirection(direction == raiseValue ? catalogue::Direction::Raise
                                                       : catalogue::Direction::Lower);
        const QString method = table.lookup(setting(Key::Method).key).toString();
        if (!target.selectMethod(method))
            throw SettingsError(
                SettingsError::MethodRefused,
                QStringLiteral("The method %1 is not in the list.").arg(shownInMessage(method)));
    }

    for (const Setting &s : allSettings()) {
        if (s.id == Key::Direction || s.id == Key::Method)
            continue;
        const QVariant value = table.lookup(s.key);
        switch (s.kind) {
        case Kind::Text: {
            // Hectolitres is on the main window's list but never saved.
            const QString caption = textOf(value);
            if (s.choices.contains(caption, Qt::CaseSensitive))
                target.choose(s.id, caption);
            break;
        }
        case Kind::Number:
            target.setText(s.id, standardText(value, locale));
            break;
        case Kind::Whole:
            // The shares come after the method so that they overwrite its presets.
            target.setText(s.id, wholeText(value, locale));
            break;
        }
    }
}

} // namespace titrova::settings
