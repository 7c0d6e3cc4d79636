#include "Convert.h"

#include <limits>

namespace varkelo {

std::int32_t StrToInt(const QString& text) {
    const QString trimmed = text.trimmed();
    const auto refuse = [&] {
        if (trimmed.isEmpty())
            return EConvertError(QStringLiteral("пустой текст не является целым числом"));
        return EConvertError(QStringLiteral("«%1» не является целым числом").arg(text));
    };
    qsizetype i = 0;
    const bool negative = i < trimmed.size() && trimmed[i] == u'-';
    if (i < trimmed.size() && (trimmed[i] == u'-' || trimmed[i] == u'+'))
        ++i;
    if (i == trimmed.size())
        throw refuse();
    // Accumulate the magnitude in 64 bits; it is checked against the range at every digit.
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    for (; i < trimmed.size(); ++i) {
        const char16_t c = trimmed[i].unicode();
        if (c < u'0' || c > u'9')
            throw refuse();
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > limit)
            throw EConvertError(
                QStringLiteral("«%1» вне диапазона целых чисел от −2147483648 до 2147483647")
                    .arg(text));
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace varkelo
