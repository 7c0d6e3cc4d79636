#include "Catalogue.h"
#include "Profit.h"

#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <functional>

using namespace varkelo;

namespace {

// Storing an untouched dialog on a fresh start must leave the record as it is, and the fresh
// record holds zero counts and full longevities.
TEST(Catalogue, DefaultTextsConvertToRecordDefaults) {
    const TTripData fresh = DefaultTripData();
    for (const auto& row : kCatalogue) {
        int value = -1;
        const auto* end = row.DefaultText.data() + row.DefaultText.size();
        ASSERT_EQ(std::from_chars(row.DefaultText.data(), end, value).ptr, end) << row.EditName;
        EXPECT_EQ(value, GetInput(fresh, row.Group, row.Index)) << row.EditName;
        // Only gudgeon, topsail, redfeather and roach are worth a fraction of a НВ.
        const int i = row.Index;
        const bool fraction = row.Group == TGroup::Fish && (i == 1 || i == 2 || i == 3 || i == 9);
        EXPECT_EQ(row.HasFraction(), fraction) << row.EditName;
    }
    const std::int32_t longevity[kTackleCount] = {10, 25, 70, 120, 250, 600, 30};
    EXPECT_TRUE(std::equal(longevity, longevity + kTackleCount, fresh.TackleLongevity));
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
    EXPECT_THROW(GetInput(r, TGroup::Bait, 6), std::out_of_range);
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
}

void Fill(std::span<std::int32_t> slots, std::int32_t v) {
    std::fill(slots.begin(), slots.end(), v);
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
        ProfitCase{"ThirtyRedfeather", [](TTripData& r) { r.Fish[3] = 30; }, 86, 0, 0, 86},
        ProfitCase{"ThreeRoech", [](TTripData& r) { r.Fish[9] = 3; }, 25, 0, 0, 25},
        ProfitCase{"OneOfEach", [](TTripData& r) { Fill(r.Fish, 1); }, 406, 0, 0, 406},
        ProfitCase{"MinusOneCancer", [](TTripData& r) { r.Fish[0] = -1; }, -2, 0, 0, -2},
        ProfitCase{"MinusOneGudgeon", [](TTripData& r) { r.Fish[1] = -1; }, -2, 0, 0, -2},
        ProfitCase{"EveryBait", [](TTripData& r) { Fill(r.Bait, 1); }, 0, 63, 0, -63},
        ProfitCase{"OneNutRod", [](TTripData& r) { r.SpentTackle[0] = 1; }, 0, 0, 10, -10},
        ProfitCase{"OneLightenedRod", [](TTripData& r) { r.SpentTackle[5] = 1; }, 0, 0, 600, -600},
        ProfitCase{"NoLongevityLeft", [](TTripData& r) { Fill(r.TackleLongevity, 0); }, 0, 0, 1105,
                   -1105},
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
                       Fill(r.Fish, 999999);
                       Fill(r.Bait, -99999);
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
    EXPECT_EQ(FormatProfitMessage(INT_MIN), "Чистая прибыль составляет: -2147483648 НВ.");
}

} // namespace
