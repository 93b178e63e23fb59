// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingsFile.h"

#include "calc/numbers.h"
#include "platform/files.h"
#include "settings/eightSettings.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace titrova::settings {
namespace {

// A real file is under 200 bytes. Anything much larger is no settings file, and reading one
// of megabytes of keys would hold up the first window for seconds.
constexpr qint64 largestFile = 64 * 1024;

bool endsField(char c) {
    return c == ',' || c == '\r' || c == '\n';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::optional<double> plainNumber(QByteArrayView field) {
    const char *p = field.data();
    const char *const end = p + field.size();
    // The sign is applied at the end: from_chars takes no plus.
    if (p != end && (*p == '+' || *p == '-'))
        ++p;
    const char *const digitsStart = p;
    bool digits = false;
    while (p != end && *p >= '0' && *p <= '9') {
        ++p;
        digits = true;
    }
    if (p != end && *p == '.') {
        ++p;
        while (p != end && *p >= '0' && *p <= '9') {
            ++p;
            digits = true;
        }
    }
    if (p != end || !digits)
        return std::nullopt;
    const bool negative = field.front() == '-';
    double value = 0;
    const auto r = std::from_chars(digitsStart, end, value);
    if (r.ec == std::errc::result_out_of_range) {
        // Too small for a double is zero; too large stays text.
        for (const char *q = digitsStart; q != end && *q != '.'; ++q) {
            if (*q != '0')
                return std::nullopt;
        }
        return negative ? -0.0 : 0.0;
    }
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

struct Field {
    QByteArrayView raw;
    std::optional<double> number;

    QVariant value() const {
        if (number)
            return *number;
        return QString::fromLatin1(raw);
    }
};

// Reads one field at a time, so a file of millions of fields never exists as a list.
class FieldReader {
public:
    // Editors on other systems often open a UTF-8 file with a byte-order mark.
    explicit FieldReader(QByteArrayView bytes)
        : m_bytes(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes) {}

    bool next(Field &field) {
        const qsizetype n = m_bytes.size();
        const char *const b = m_bytes.data();
        if (m_afterComma) {
            while (m_pos < n && isBlank(b[m_pos]))
                ++m_pos;
        } else {
            while (m_pos < n && (isBlank(b[m_pos]) || b[m_pos] == '\r' || b[m_pos] == '\n'))
                ++m_pos;
            if (m_pos == n)
                return false;
        }

        if (m_pos < n && b[m_pos] == '"') {
            const qsizetype start = m_pos + 1;
            qsizetype close = m_bytes.indexOf('"', start);
            if (close < 0)
                close = n;
            field.raw = m_bytes.sliced(start, close - start);
            field.number.reset();
            m_pos = std::min(close + 1, n);
            while (m_pos < n && !endsField(b[m_pos]))
                ++m_pos;
        } else {
            const qsizetype start = m_pos;
            while (m_pos < n && !endsField(b[m_pos]))
                ++m_pos;
            qsizetype end = m_pos;
            while (end > start && isBlank(b[end - 1]))
                --end;
            field.raw = m_bytes.sliced(start, end - start);
            field.number = plainNumber(field.raw);
        }

        m_afterComma = m_pos < n && b[m_pos] == ',';
        if (m_afterComma)
            ++m_pos;
        return true;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_afterComma = false;
};

// The program writes only ASCII, and a quote or a line end inside a quoted text would
// split it into other fields on the next start.
QByteArray quotedText(const QString &key, const QVariant &value) {
    const QString text = value.toString();
    QByteArray out;
    out.reserve(text.size() + 2);
    out.append('"');
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u > 0x7e || (u < 0x20 && u != u'\t'))
            throw SettingsError(SettingsError::UnwritableText,
                                QStringLiteral("The setting %1 holds a character that cannot be "
                                               "written to the settings file.")
                                    .arg(shownInMessage(key)));
        out.append(char(u));
    }
    out.append('"');
    return out;
}

[[noreturn]] void notANumber(const QString &key) {
    throw SettingsError(SettingsError::NotANumber,
                        QStringLiteral("The setting %1 is not a number.").arg(shownInMessage(key)));
}

// Text is read by the locale (the dialog stores "1,234.50"); a number read from the file is
// taken as it is.
double toDouble(const QString &key, const QVariant &value, const QLocale &locale) {
    std::optional<double> d;
    if (value.typeId() == QMetaType::QString) {
        d = numbers::toDouble(value.toString(), locale);
    } else {
        bool ok = false;
        d = value.toDouble(&ok);
        if (!ok || !std::isfinite(*d))
            d.reset();
    }
    if (!d)
        notANumber(key);
    return *d;
}

float toSingle(const QString &key, const QVariant &value, const QLocale &locale) {
    // Straight from the text, so the single is correctly rounded from what the user typed.
    if (value.typeId() == QMetaType::QString) {
        const auto f = numbers::toSingle(value.toString(), locale);
        if (!f)
            notANumber(key);
        return *f;
    }
    float single = 0;
    if (!numbers::storeSingle(toDouble(key, value, locale), single))
        notANumber(key);
    return single;
}

QByteArray plain(float value) {
    return numbers::plainFromSingle(value).toLatin1();
}

} // namespace

QList<QVariant> parseFields(QByteArrayView bytes) {
    QList<QVariant> fields;
    FieldReader reader(bytes);
    Field field;
    while (reader.next(field))
        fields.append(field.value());
    return fields;
}

void readSettings(QByteArrayView bytes, SettingsTable &table) {
    FieldReader reader(bytes);
    Field key;
    Field value;
    while (reader.next(key)) {
        if (!reader.next(value))
            throw SettingsError(SettingsError::OddFieldCount,
                                QStringLiteral("The settings end in the middle of a setting: "
                                               "%1 has no value.")
                                    .arg(shownInMessage(QString::fromLatin1(key.raw))));
        table.add(QString::fromLatin1(key.raw), value.value());
    }
}

void readSettingsFile(const Location &file, SettingsTable &table) {
    QByteArray bytes;
    try {
        bytes = platform::readRegular(file, largestFile);
    } catch (const platform::FileError &e) {
        throw SettingsError(SettingsError::CannotRead,
                            QStringLiteral("Cannot read %1: %2").arg(e.file(), e.reason()));
    }
    readSettings(bytes, table);
}

QByteArray settingsFileBytes(const SettingsTable &table, const QLocale &locale) {
    QByteArray out;
    for (const Setting &r : allSettings()) {
        const QVariant value = table.lookup(r.key);
        out.append('"').append(r.written).append("\",");
        switch (r.kind) {
        case Kind::Text:
            out.append(quotedText(r.key, value));
            break;
        case Kind::Number:
            out.append(plain(toSingle(r.key, value, locale)));
            break;
        case Kind::Whole: {
            // Halves away from zero, as the share boxes show them.
            const double whole = std::round(toDouble(r.key, value, locale));
            float single = 0;
            if (!numbers::storeSingle(whole, single))
                notANumber(r.key);
            out.append(plain(single));
            break;
        }
        }
        out.append("\r\n");
    }
    return out;
}

void writeSettingsFile(const Location &file, const QByteArray &bytes) {
    try {
        platform::replaceFile(file, bytes);
    } catch (const platform::FileError &e) {
        throw SettingsError(SettingsError::CannotWrite,
                            QStringLiteral("Cannot write %1: %2").arg(e.file(), e.reason()));
    }
}

} // namespace titrova::settings
