#pragma once

// Text to number, and the program's own failures. Plain C++: texts are UTF-8.

#include "Catalogue.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varkelo {

// The program's failures: a Russian message, UTF-8, in what().
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : m_message(std::move(message)) {}
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A conversion's outcome: the value, or why there is none.
struct TConversion {
    std::optional<std::int32_t> Value;
    std::string Error; // Russian, quoting the text; empty when Value holds
};

// A signed decimal integer of ASCII digits, optional sign, blanks (any Unicode space) around it
// allowed; anything else, or a value outside the signed 32-bit range, is refused.
TConversion ConvertInt(std::string_view text);

// The store rule of the entry windows: every text converts, or nothing is stored.
struct TConvertedEntries {
    std::vector<std::int32_t> Values; // one per row, when every text converts
    std::size_t BadRow = 0;           // otherwise the first row that does not,
    std::string Message;              // and why, in Russian, naming the row by its caption
    bool Ok() const { return Message.empty(); }
};

// Converts the texts of the rows, in order; texts.size() == rows.size().
TConvertedEntries ConvertEntries(std::span<const TCatalogueRow> rows,
                                 std::span<const std::string> texts);

} // namespace varkelo
