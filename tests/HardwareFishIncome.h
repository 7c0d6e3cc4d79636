#pragma once

// The plain evaluation of the fish income that the exact one must match where long double is
// the x87 format: long double holds every product and partial sum to a 64-bit significand,
// whatever precision the unit was left at (a 32-bit Windows program starts at 53 bits).

#include "Catalogue.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <span>

// Sets the x87 unit's precision control (0: 24 bits, 2: 53, 3: 64) and returns the old one;
// nothing where there is no such unit.
inline int SetX87Precision([[maybe_unused]] int precision) {
    std::uint16_t control = 0;
#if defined(__i386__) || defined(__x86_64__)
    asm volatile("fnstcw %0" : "=m"(control));
    const auto changed = static_cast<std::uint16_t>((control & ~0x300u) | (precision << 8));
    asm volatile("fldcw %0" : : "m"(changed) : "memory");
#endif
    return (control >> 8) & 3;
}

// None where long double is not the x87 format.
inline std::optional<std::int32_t>
HardwareFishIncome(std::span<const std::int32_t, varkelo::kFishCount> fish) {
    if (std::numeric_limits<long double>::digits != 64)
        return std::nullopt;
    const int precision = SetX87Precision(3);
    // In memory after each step, so that no step moves past a change of precision.
    volatile long double sum = 0;
    for (const auto& row : varkelo::CatalogueGroup(varkelo::TGroup::Fish)) {
        const auto count = fish[static_cast<std::size_t>(row.Index)];
        // Stored, so that it is the double: a 32-bit build would keep the quotient's extra bits.
        const volatile double value = row.Value();
        // A whole value's product wraps around in 32 bits, as the program's integer products.
        sum = sum + (row.HasFraction()
                         ? static_cast<long double>(count) * value
                         : static_cast<std::int32_t>(static_cast<std::uint32_t>(count) *
                                                     static_cast<std::uint32_t>(row.WholeValue())));
    }
    SetX87Precision(precision);
    return static_cast<std::int32_t>(sum);
}
