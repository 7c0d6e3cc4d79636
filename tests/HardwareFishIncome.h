#pragma once

// The plain evaluation of the fish income that the exact one must match where long double is
// the x87 format: long double holds every product and partial sum to a 64-bit significand.

#include "Catalogue.h"

#include <cstdint>
#include <span>

inline std::int32_t HardwareFishIncome(std::span<const std::int32_t, varkelo::kFishCount> fish) {
    long double sum = 0;
    for (const auto& row : varkelo::CatalogueGroup(varkelo::TGroup::Fish)) {
        const auto count = fish[static_cast<std::size_t>(row.Index)];
        // A whole value's product wraps around in 32 bits, as the program's integer products.
        sum += row.HasFraction()
                   ? static_cast<long double>(count) * row.Value()
                   : static_cast<std::int32_t>(static_cast<std::uint32_t>(count) *
                                               static_cast<std::uint32_t>(row.WholeValue()));
    }
    return static_cast<std::int32_t>(sum);
}
