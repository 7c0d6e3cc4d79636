// Compares the exact fish income with the processor's own x87 double-extended arithmetic,
// where long double is that format.
#include "Catalogue.h"
#include "Profit.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <random>

using namespace varkelo;

namespace {

constexpr bool kLongDoubleIsX87 = std::numeric_limits<long double>::digits == 64;
constexpr std::int32_t kEntryMin = -99999; // six characters, sign included
constexpr std::int32_t kEntryMax = 999999;

// The plain evaluation: long double holds every product and partial sum to 64 bits.
std::int32_t HardwareFishIncome(const std::array<std::int32_t, kFishCount>& fish) {
    long double sum = 0;
    for (const auto& row : CatalogueGroup(TGroup::Fish)) {
        const std::int32_t count = fish[static_cast<std::size_t>(row.Index)];
        if (row.HasFraction()) {
            sum += static_cast<long double>(count) * static_cast<long double>(row.Value());
        } else {
            sum += static_cast<long double>(static_cast<std::int32_t>(
                static_cast<std::uint32_t>(count) * static_cast<std::uint32_t>(row.WholeValue())));
        }
    }
    return static_cast<std::int32_t>(sum);
}

#define SKIP_UNLESS_X87()                                                                          \
    if (!kLongDoubleIsX87)                                                                         \
    GTEST_SKIP() << "long double here has " << std::numeric_limits<long double>::digits            \
                 << " significand bits, not the x87 64: no hardware to compare with"

class FishIncomeVsHardware : public testing::TestWithParam<int> {};

TEST_P(FishIncomeVsHardware, EveryCountOfOneFractionalSpecies) {
    SKIP_UNLESS_X87();
    const int species = GetParam();
    std::array<std::int32_t, kFishCount> fish{};
    int mismatches = 0;
    for (std::int32_t count = kEntryMin; count <= kEntryMax && mismatches < 5; ++count) {
        fish[static_cast<std::size_t>(species)] = count;
        const auto expected = HardwareFishIncome(fish);
        const auto actual = CalculateFishIncome(fish);
        if (actual != expected) {
            ++mismatches;
            ADD_FAILURE() << "count " << count << ": " << actual << " != " << expected;
        }
    }
}

// Species 1, 2, 3 and 9 carry the values 2.7, 2.9, 2.9 and 8.5.
INSTANTIATE_TEST_SUITE_P(FractionalSpecies, FishIncomeVsHardware, testing::Values(1, 2, 3, 9));

// Large counts push the partial sums past 2^13, where the 64-bit rounding of a sum starts to
// swallow the small fractional tails that follow.
TEST(FishIncomeVsHardwareRandom, MillionMixedRecords) {
    SKIP_UNLESS_X87();
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<std::int32_t> small(-20, 200);
    std::uniform_int_distribution<std::int32_t> large(kEntryMin, kEntryMax);
    std::array<std::int32_t, kFishCount> fish{};
    int mismatches = 0;
    for (int n = 0; n < 1'000'000 && mismatches < 5; ++n) {
        for (auto& count : fish) {
            const int k = kind(random);
            count = k < 4 ? 0 : k < 7 ? small(random) : large(random);
        }
        const auto expected = HardwareFishIncome(fish);
        const auto actual = CalculateFishIncome(fish);
        if (actual != expected) {
            ++mismatches;
            ADD_FAILURE() << "record " << n << ": " << actual << " != " << expected;
        }
    }
}

} // namespace
