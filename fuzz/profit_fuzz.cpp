// The whole calculation on arbitrary int32_t inputs, built with UBSan: no undefined behaviour,
// inputs untouched, results consistent and repeatable. Then the exact fish income against the
// processor's x87 long double, with the same counts folded onto the entry range.
#include "../tests/HardwareFishIncome.h"
#include "Profit.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "this target compares with x87 long double");

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    varkelo::TTripData record = varkelo::DefaultTripData();
    std::memcpy(&record, data, std::min(size, sizeof record));
    const varkelo::TTripData before = record;
    varkelo::CalculateProfit(record);
    const auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(record.FishIncome) -
                                                   static_cast<std::uint32_t>(record.BaitCost) -
                                                   static_cast<std::uint32_t>(record.TackleCost));
    varkelo::TTripData again = record;
    varkelo::CalculateProfit(again);
    if (std::memcmp(&record, &before, 40 * sizeof(std::int32_t)) != 0 ||
        record.NetProfit != wrapped || !(again == record))
        std::abort();
    (void)varkelo::FormatProfitMessage(record.NetProfit);
    std::array<std::int32_t, varkelo::kFishCount> fish{};
    for (std::size_t i = 0; i < fish.size(); ++i) // -99999 to 999999
        fish[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(before.Fish[i]) % 1100000u) -
                  99999;
    if (varkelo::CalculateFishIncome(fish) != HardwareFishIncome(fish))
        std::abort();
    return 0;
}
