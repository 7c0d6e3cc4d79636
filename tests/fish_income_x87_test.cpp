// Compares the exact fish income with the processor's own x87 double-extended arithmetic,
// where long double is that format.
#include "HardwareFishIncome.h"
#include "Profit.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <random>

using namespace varkelo;

namespace {

using Fish = std::array<std::int32_t, kFishCount>;

// Runs `records` records from `next`, reporting the first few that disagree.
template <class Next> void Compare(long records, Next next) {
    if (std::numeric_limits<long double>::digits != 64)
        GTEST_SKIP() << "long double has " << std::numeric_limits<long double>::digits
                     << " significand bits here, not the x87 64: nothing to compare with";
    Fish fish{};
    int mismatches = 0;
    for (long n = 0; n < records && mismatches < 5; ++n) {
        next(n, fish);
        const auto expected = HardwareFishIncome(fish);
        if (CalculateFishIncome(fish) != expected && ++mismatches)
            ADD_FAILURE() << "record " << n << ": " << CalculateFishIncome(fish)
                          << " != " << expected;
    }
}

constexpr std::int32_t kEntryMin = -99999; // six characters, sign included
constexpr std::int32_t kEntryMax = 999999;

// Species 1, 2, 3 and 9 carry the values 2.7, 2.9, 2.9 and 8.5: every count of each.
TEST(FishIncomeVsHardware, EveryCountOfEachFractionalSpecies) {
    for (std::size_t species : {1, 2, 3, 9})
        Compare(kEntryMax - kEntryMin + 1, [&](long n, Fish& fish) {
            fish = {};
            fish[species] = kEntryMin + static_cast<std::int32_t>(n);
        });
}

// Large counts push the partial sums past 2^13, where the 64-bit rounding of a sum starts to
// swallow the small fractional tails that follow.
TEST(FishIncomeVsHardware, MillionMixedRecords) {
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<std::int32_t> small(-20, 200), large(kEntryMin, kEntryMax);
    Compare(1'000'000, [&](long, Fish& fish) {
        for (auto& count : fish) {
            const int k = kind(random);
            count = k < 4 ? 0 : k < 7 ? small(random) : large(random);
        }
    });
}

} // namespace
