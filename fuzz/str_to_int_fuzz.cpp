// The text-to-integer conversion against the plain reference: never crashes, accepts exactly
// what the reference accepts, with the same value.
#include "../tests/ReferenceParse.h"
#include "Convert.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto expected = ReferenceStrToInt(text);
    try {
        const std::int32_t value = varkelo::StrToInt(text);
        if (!expected || *expected != value)
            std::abort();
    } catch (const varkelo::EConvertError& error) {
        if (expected || error.Message().isEmpty())
            std::abort();
    }
    return 0;
}
