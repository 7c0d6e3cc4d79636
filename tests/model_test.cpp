#include "Catalogue.h"
#include "Profit.h"

#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <functional>
#include <set>

using namespace varkelo;

namespace {

TEST(TripData, FreshRecordHoldsDefaults) {
    const TTripData r = DefaultTripData();
    for (int v : r.Fish)
        EXPECT_EQ(v, 0);
    for (int v : r.Bait)
        EXPECT_EQ(v, 0);
    for (int v : r.SpentTackle)
        EXPECT_EQ(v, 0);
    const int longevity[] = {10, 25, 70, 120, 250, 600, 30};
    for (int i = 0; i < kTackleCount; ++i)
        EXPECT_EQ(r.TackleLongevity[i], longevity[i]);
    EXPECT_EQ(r.FishIncome, 0);
    EXPECT_EQ(r.BaitCost, 0);
    EXPECT_EQ(r.TackleCost, 0);
    EXPECT_EQ(r.NetProfit, 0);
}

// Storing an untouched dialog on a fresh start must leave the record as it is.
TEST(Catalogue, DefaultTextsConvertToRecordDefaults) {
    const TTripData fresh = DefaultTripData();
    for (const auto& row : kCatalogue) {
        int value = -1;
        const auto* end = row.DefaultText.data() + row.DefaultText.size();
        ASSERT_EQ(std::from_chars(row.DefaultText.data(), end, value).ptr, end) << row.EditName;
        EXPECT_EQ(value, GetInput(fresh, row.Group, row.Index)) << row.EditName;
    }
}

TEST(Catalogue, NamesAreUniqueAndPricesAddUp) {
    std::set<std::string_view> names;
    for (const auto& row : kCatalogue)
        EXPECT_TRUE(names.insert(row.EditName).second) << row.EditName;
    int prices = 0;
    for (const auto& row : CatalogueGroup(TGroup::SpentTackle))
        prices += row.WholeValue();
    EXPECT_EQ(prices, 1105);
}

// Every catalogue row must address its own slot of the record, and no other.
TEST(TripData, EachInputHasItsOwnSlot) {
    TTripData r{};
    int marker = 1;
    for (const auto& row : kCatalogue)
        SetInput(r, row.Group, row.Index, marker++);
    const auto* raw = reinterpret_cast<const std::int32_t*>(&r);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(raw[i], i + 1);
    EXPECT_EQ(r.FishIncome, 0);
    EXPECT_THROW(GetInput(r, TGroup::Bait, 6), std::out_of_range);
    EXPECT_THROW(SetInput(r, TGroup::Fish, -1, 0), std::out_of_range);
}

struct ProfitCase {
    const char* Name;
    std::function<void(TTripData&)> Enter;
    int FishIncome, BaitCost, TackleCost, NetProfit;
};

class Profit : public testing::TestWithParam<ProfitCase> {};

TEST_P(Profit, GivesTheResults) {
    const ProfitCase& c = GetParam();
    TTripData r = DefaultTripData();
    c.Enter(r);
    // Stale results must not feed the calculation.
    r.FishIncome = r.BaitCost = r.TackleCost = r.NetProfit = 12345;
    const TTripData inputs = r;
    CalculateProfit(r);
    EXPECT_EQ(r.FishIncome, c.FishIncome);
    EXPECT_EQ(r.BaitCost, c.BaitCost);
    EXPECT_EQ(r.TackleCost, c.TackleCost);
    EXPECT_EQ(r.NetProfit, c.NetProfit);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(reinterpret_cast<const std::int32_t*>(&r)[i],
                  reinterpret_cast<const std::int32_t*>(&inputs)[i]);
    TTripData again = r;
    CalculateProfit(again);
    EXPECT_EQ(again, r);
}

// Ten fish at 2.9 give 28, not 29: the double nearest 2.9 lies below it, and the extended
// product keeps that shortfall.
INSTANTIATE_TEST_SUITE_P(
    Cases, Profit,
    testing::Values(
        ProfitCase{"Default", [](TTripData&) {}, 0, 0, 0, 0},
        ProfitCase{"OneGudgeon", [](TTripData& r) { r.Fish[1] = 1; }, 2, 0, 0, 2},
        ProfitCase{"TenGudgeon", [](TTripData& r) { r.Fish[1] = 10; }, 27, 0, 0, 27},
        ProfitCase{"TenTopsail", [](TTripData& r) { r.Fish[2] = 10; }, 28, 0, 0, 28},
        ProfitCase{"TwentyTopsail", [](TTripData& r) { r.Fish[2] = 20; }, 57, 0, 0, 57},
        ProfitCase{"ThirtyTopsail", [](TTripData& r) { r.Fish[2] = 30; }, 86, 0, 0, 86},
        ProfitCase{"TenRedfeather", [](TTripData& r) { r.Fish[3] = 10; }, 28, 0, 0, 28},
        ProfitCase{"ThreeRoech", [](TTripData& r) { r.Fish[9] = 3; }, 25, 0, 0, 25},
        ProfitCase{"OneOfEach",
                   [](TTripData& r) {
                       for (int& f : r.Fish)
                           f = 1;
                   },
                   406, 0, 0, 406},
        ProfitCase{"MinusOneCancer", [](TTripData& r) { r.Fish[0] = -1; }, -2, 0, 0, -2},
        ProfitCase{"MinusOneGudgeon", [](TTripData& r) { r.Fish[1] = -1; }, -2, 0, 0, -2},
        ProfitCase{"OneSpoonBait", [](TTripData& r) { r.Bait[5] = 1; }, 0, 50, 0, -50},
        ProfitCase{"EveryBait",
                   [](TTripData& r) {
                       for (int& b : r.Bait)
                           b = 1;
                   },
                   0, 63, 0, -63},
        ProfitCase{"OneLightenedRod", [](TTripData& r) { r.SpentTackle[5] = 1; }, 0, 0, 600, -600},
        ProfitCase{"NoLongevityLeft",
                   [](TTripData& r) {
                       for (int& l : r.TackleLongevity)
                           l = 0;
                   },
                   0, 0, 1105, -1105},
        ProfitCase{"NetSpentAndWornOut",
                   [](TTripData& r) {
                       r.SpentTackle[6] = 1;
                       r.TackleLongevity[6] = 0;
                   },
                   0, 0, 60, -60},
        ProfitCase{"LongevityAboveFull", [](TTripData& r) { r.TackleLongevity[0] = 15; }, 0, 0, -5,
                   5},
        ProfitCase{"LargestEntries",
                   [](TTripData& r) {
                       for (int& f : r.Fish)
                           f = 999999;
                       for (int& b : r.Bait)
                           b = -99999;
                   },
                   405999594, -6299937, 0, 412299531},
        // Outside the entry range every integer step wraps as 32-bit hardware does:
        // 50 * INT32_MAX wraps to -50, and -2^31 * 8.5 truncates and wraps to -2^30.
        ProfitCase{"WrapsOutsideEntryRange",
                   [](TTripData& r) {
                       r.Bait[5] = INT_MAX;
                       r.Fish[9] = INT_MIN;
                   },
                   -1073741824, -50, 0, -1073741774}),
    [](const testing::TestParamInfo<ProfitCase>& info) { return std::string(info.param.Name); });

TEST(ProfitMessage, HasTheFixedWording) {
    EXPECT_EQ(FormatProfitMessage(0), "Чистая прибыль составляет: 0 НВ.");
    EXPECT_EQ(FormatProfitMessage(-50), "Чистая прибыль составляет: -50 НВ.");
    EXPECT_EQ(FormatProfitMessage(1234567), "Чистая прибыль составляет: 1234567 НВ.");
    EXPECT_EQ(FormatProfitMessage(INT_MIN), "Чистая прибыль составляет: -2147483648 НВ.");
}

} // namespace
