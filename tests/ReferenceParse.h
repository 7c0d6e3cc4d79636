#pragma once

// A plain statement of which texts are whole numbers, to check the program's conversion
// against: optional blanks, an optional sign, ASCII digits, within the signed 32-bit range.

#include <QRegularExpression>
#include <QString>

#include <cstdint>
#include <optional>

inline std::optional<std::int32_t> ReferenceStrToInt(const QString& text) {
    static const QRegularExpression integer(QStringLiteral("^\\s*([+-]?)0*([0-9]+)\\s*$"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    const auto match = integer.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString digits = match.captured(2);
    if (digits.size() > 10)
        return std::nullopt;
    const qint64 magnitude = digits.toLongLong();
    const qint64 value = match.captured(1) == QStringLiteral("-") ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}
