#include "Catalogue.h"
#include "Profit.h"

#include <gtest/gtest.h>

#include <charconv>
#include <climits>

using namespace varkelo;

namespace {

// Storing an untouched dialog on a fresh start must leave the record as it is; the fresh
// record holds zero counts and full longevities; only four fish are worth a fraction of a НВ.
TEST(Catalogue, DefaultsAndFractions) {
    const TTripData fresh = DefaultTripData();
    for (const auto& row : kCatalogue) {
        int value = -1;
        const auto* end = row.DefaultText.data() + row.DefaultText.size();
        ASSERT_EQ(std::from_chars(row.DefaultText.data(), end, value).ptr, end) << row.EditName;
        EXPECT_EQ(value, GetInput(fresh, row.Group, row.Index)) << row.EditName;
        const int i = row.Index;
        const bool fraction = row.Group == TGroup::Fish && (i == 1 || i == 2 || i == 3 || i == 9);
        EXPECT_EQ(row.HasFraction(), fraction) << row.EditName;
    }
    const std::int32_t longevity[kTackleCount] = {10, 25, 70, 120, 250, 600, 30};
    EXPECT_TRUE(std::equal(longevity, longevity + kTackleCount, fresh.TackleLongevity));
    EXPECT_THROW(GetInput(fresh, TGroup::Bait, 6), std::out_of_range);
}

// What is entered: a value for one input, or with index -1 for every input of a group.
struct TEntry {
    TGroup Group;
    int Index;
    std::int32_t Value;
};

struct TProfitCase {
    const char* Name;
    std::vector<TEntry> Entries;
    int FishIncome, BaitCost, TackleCost, NetProfit;
};

class Profit : public testing::TestWithParam<TProfitCase> {};

TEST_P(Profit, GivesTheResults) {
    const TProfitCase& c = GetParam();
    TTripData r = DefaultTripData();
    for (const TEntry& entry : c.Entries)
        for (int i = 0; i < int(GroupSlots(r, entry.Group).size()); ++i)
            if (entry.Index < 0 || entry.Index == i)
                SetInput(r, entry.Group, i, entry.Value);
    r.NetProfit = 12345; // stale results must not feed the calculation
    TTripData expected = r;
    expected.FishIncome = c.FishIncome;
    expected.BaitCost = c.BaitCost;
    expected.TackleCost = c.TackleCost;
    expected.NetProfit = c.NetProfit;
    CalculateProfit(r);
    EXPECT_EQ(r, expected); // results as given, inputs untouched
    CalculateProfit(r);
    EXPECT_EQ(r, expected);
    EXPECT_EQ(FormatProfitMessage(c.NetProfit),
              "Чистая прибыль составляет: " + std::to_string(c.NetProfit) + " НВ.");
}

constexpr auto kFish = TGroup::Fish, kBait = TGroup::Bait, kSpent = TGroup::SpentTackle,
               kLongevity = TGroup::TackleLongevity;

// Ten fish at 2.9 give 28, not 29: the double nearest 2.9 lies below it, and the extended
// product keeps that shortfall. Outside the entry range every integer step wraps as 32-bit
// hardware does: 50 * INT32_MAX wraps to -50, and -2^31 * 8.5 truncates and wraps to -2^30.
INSTANTIATE_TEST_SUITE_P(
    Cases, Profit,
    testing::Values(TProfitCase{"Default", {}, 0, 0, 0, 0},
                    TProfitCase{"OneGudgeon", {{kFish, 1, 1}}, 2, 0, 0, 2},
                    TProfitCase{"TenGudgeon", {{kFish, 1, 10}}, 27, 0, 0, 27},
                    TProfitCase{"TenTopsail", {{kFish, 2, 10}}, 28, 0, 0, 28},
                    TProfitCase{"TwentyTopsail", {{kFish, 2, 20}}, 57, 0, 0, 57},
                    TProfitCase{"ThirtyRedfeather", {{kFish, 3, 30}}, 86, 0, 0, 86},
                    TProfitCase{"ThreeRoech", {{kFish, 9, 3}}, 25, 0, 0, 25},
                    TProfitCase{"OneOfEach", {{kFish, -1, 1}}, 406, 0, 0, 406},
                    TProfitCase{"MinusOneCancer", {{kFish, 0, -1}}, -2, 0, 0, -2},
                    TProfitCase{"MinusOneGudgeon", {{kFish, 1, -1}}, -2, 0, 0, -2},
                    TProfitCase{"EveryBait", {{kBait, -1, 1}}, 0, 63, 0, -63},
                    TProfitCase{"OneNutRod", {{kSpent, 0, 1}}, 0, 0, 10, -10},
                    TProfitCase{"OneLightenedRod", {{kSpent, 5, 1}}, 0, 0, 600, -600},
                    TProfitCase{"NoLongevityLeft", {{kLongevity, -1, 0}}, 0, 0, 1105, -1105},
                    TProfitCase{
                        "NetSpentAndWornOut", {{kSpent, 6, 1}, {kLongevity, 6, 0}}, 0, 0, 60, -60},
                    TProfitCase{"LongevityAboveFull", {{kLongevity, 0, 15}}, 0, 0, -5, 5},
                    TProfitCase{"LargestEntries",
                                {{kFish, -1, 999999}, {kBait, -1, -99999}},
                                405999594,
                                -6299937,
                                0,
                                412299531},
                    TProfitCase{"WrapsOutsideEntryRange",
                                {{kBait, 5, INT_MAX}, {kFish, 9, INT_MIN}},
                                -1073741824,
                                -50,
                                0,
                                -1073741774}),
    [](const testing::TestParamInfo<TProfitCase>& info) { return std::string(info.param.Name); });

} // namespace
