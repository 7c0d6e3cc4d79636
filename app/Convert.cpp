#include "Convert.h"

#include <limits>

namespace varkelo {

namespace {

constexpr char32_t kNotDecoded = 0xFFFFFFFF;

// The code point of a UTF-8 sequence of `length` bytes at the start of `text`, or kNotDecoded.
char32_t Decode(std::string_view text, std::size_t length) {
    if (length > text.size())
        return kNotDecoded;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char leadMasks[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t c = byte(0) & leadMasks[length];
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return kNotDecoded;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    // An overlong form is not the character it spells.
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    return c < least[length] ? kNotDecoded : c;
}

std::size_t SequenceLength(unsigned char lead) {
    return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
}

// The separators of Unicode (Zs, Zl, Zp) and the ASCII and C1 blank controls: what a user may
// leave around a number, pasted from anywhere.
bool IsBlank(char32_t c) {
    return c == 0x20 || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(text.front()));
        if (length == 0 || !IsBlank(Decode(text, length)))
            break;
        text.remove_prefix(length);
    }
    while (!text.empty()) {
        std::size_t start = text.size() - 1;
        while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
            --start;
        const std::size_t length = text.size() - start;
        if (SequenceLength(static_cast<unsigned char>(text[start])) != length ||
            !IsBlank(Decode(text.substr(start), length)))
            break;
        text.remove_suffix(length);
    }
    return text;
}

std::string Quoted(std::string_view text) {
    return "«" + std::string(text) + "»";
}

} // namespace

TConversion ConvertInt(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty())
        return {std::nullopt, "пустой текст не является целым числом"};
    const auto notInteger = [&] {
        return TConversion{std::nullopt, Quoted(text) + " не является целым числом"};
    };
    std::size_t i = 0;
    const bool negative = trimmed[0] == '-';
    if (trimmed[0] == '-' || trimmed[0] == '+')
        ++i;
    if (i == trimmed.size())
        return notInteger();
    // The magnitude in 64 bits, checked against the range at every digit.
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    for (; i < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (c < '0' || c > '9')
            return notInteger();
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return {std::nullopt,
                    Quoted(text) + " вне диапазона целых чисел от −2147483648 до 2147483647"};
    }
    return {static_cast<std::int32_t>(negative ? -magnitude : magnitude), {}};
}

TConvertedEntries ConvertEntries(std::span<const TCatalogueRow> rows,
                                 std::span<const std::string> texts) {
    TConvertedEntries result;
    result.Values.reserve(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        TConversion conversion = ConvertInt(texts[k]);
        if (!conversion.Value) {
            result.Values.clear();
            result.BadRow = k;
            result.Message = std::string(rows[k].Caption) + " " + conversion.Error;
            return result;
        }
        result.Values.push_back(*conversion.Value);
    }
    return result;
}

} // namespace varkelo
