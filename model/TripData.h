#pragma once

#include <cstdint>
#include <span>

namespace varkelo {

// The groups of inputs, in the order they stand in the record.
enum class TGroup { Fish, Bait, SpentTackle, TackleLongevity };

inline constexpr int kFishCount = 20;
inline constexpr int kBaitCount = 6;
inline constexpr int kTackleCount = 7;

// Everything entered about one trip, then the results of the last calculation.
struct TTripData {
    std::int32_t Fish[kFishCount];
    std::int32_t Bait[kBaitCount];
    std::int32_t SpentTackle[kTackleCount];
    std::int32_t TackleLongevity[kTackleCount];
    std::int32_t FishIncome;
    std::int32_t BaitCost;
    std::int32_t TackleCost;
    std::int32_t NetProfit;

    friend bool operator==(const TTripData&, const TTripData&) = default;
};

// Counts 0, longevities at their full value, results 0.
void ResetTripData(TTripData& record);

std::span<std::int32_t> GroupSlots(TTripData& record, TGroup group);

// Throws std::out_of_range for an index outside the group.
void SetInput(TTripData& record, TGroup group, int index, std::int32_t value);

} // namespace varkelo
