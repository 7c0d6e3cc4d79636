// The exact fish income against the processor's x87 long double, counts drawn from the whole
// entry range.
#include "../tests/HardwareFishIncome.h"
#include "Profit.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "this target compares with x87 long double");

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<std::int32_t, varkelo::kFishCount> fish{};
    for (std::size_t i = 0; i < fish.size() && (i + 1) * 4 <= size; ++i) {
        std::uint32_t raw;
        std::memcpy(&raw, data + i * 4, 4);
        // Fold onto the entry range, -99999 to 999999.
        fish[i] = static_cast<std::int32_t>(raw % 1100000u) - 99999;
    }
    if (varkelo::CalculateFishIncome(fish) != HardwareFishIncome(fish))
        std::abort();
    return 0;
}
