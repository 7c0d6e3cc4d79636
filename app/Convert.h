#pragma once

// Text to number, and the program's own failures. Needs only Qt Core.

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

namespace varkelo {

// The program's failures: a Russian message, UTF-8 in what().
class Exception : public std::exception {
public:
    explicit Exception(const QString& message) : m_message(message.toStdString()) {}
    const char* what() const noexcept override { return m_message.c_str(); }
    QString Message() const { return QString::fromStdString(m_message); }

private:
    std::string m_message;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A signed decimal integer of ASCII digits, optional sign, blanks around it allowed; anything
// else, or a value outside the signed 32-bit range, raises EConvertError.
std::int32_t StrToInt(const QString& text);

} // namespace varkelo
