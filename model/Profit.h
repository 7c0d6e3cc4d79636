#pragma once

#include "TripData.h"

#include <cstdint>
#include <span>
#include <string>

namespace varkelo {

// Income from the fish: each count times its value, summed in catalogue order with every
// fractional product and partial sum rounded to a 64-bit significand (x87 double-extended,
// round to nearest even), then truncated toward zero. Computed exactly in integers, so every
// compiler and processor gives the same answer.
std::int32_t CalculateFishIncome(std::span<const std::int32_t, kFishCount> fish);

// Overwrites the four results of the record from its 40 inputs.
void CalculateProfit(TTripData& record);

// "Чистая прибыль составляет: <n> НВ." in UTF-8.
std::string FormatProfitMessage(std::int32_t netProfit);

} // namespace varkelo
