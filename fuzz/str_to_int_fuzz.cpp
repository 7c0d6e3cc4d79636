// The text-to-integer conversion against a reference built on Qt's own idea of blanks: never
// crashes, accepts exactly what the reference accepts, with the same value, and explains
// every refusal.
#include "Convert.h"

#include <QRegularExpression>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

std::optional<std::int32_t> Reference(const QString& text) {
    static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
    const QString trimmed = text.trimmed();
    if (!integer.match(trimmed).hasMatch())
        return std::nullopt;
    bool inRange = false;
    const int value = trimmed.toInt(&inRange);
    return inRange ? std::optional<std::int32_t>(value) : std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(size));
    // Fields hand over valid UTF-8; the conversion must also survive what is not.
    const std::string utf8 = text.toStdString();
    const auto expected = Reference(text);
    const varkelo::TConversion conversion = varkelo::ConvertInt(utf8);
    if (conversion.Value != expected || conversion.Value.has_value() == !conversion.Error.empty())
        std::abort();
    (void)varkelo::ConvertInt(bytes);
    return 0;
}
