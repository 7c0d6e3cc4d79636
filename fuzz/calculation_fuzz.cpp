// The whole calculation on arbitrary int32_t inputs, built with UBSan: no undefined behaviour,
// inputs untouched, results consistent and repeatable.
#include "Profit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    varkelo::TTripData record = varkelo::DefaultTripData();
    std::memcpy(&record, data, size < sizeof record ? size : sizeof record);
    const varkelo::TTripData before = record;
    varkelo::CalculateProfit(record);
    const auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(record.FishIncome) -
                                                   static_cast<std::uint32_t>(record.BaitCost) -
                                                   static_cast<std::uint32_t>(record.TackleCost));
    if (std::memcmp(&record, &before, 40 * sizeof(std::int32_t)) != 0 ||
        record.NetProfit != wrapped)
        std::abort();
    varkelo::TTripData again = record;
    varkelo::CalculateProfit(again);
    if (!(again == record))
        std::abort();
    (void)varkelo::FormatProfitMessage(record.NetProfit);
    return 0;
}
