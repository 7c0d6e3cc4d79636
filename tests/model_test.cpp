// The record, the catalogue, the calculation and the conversion of texts, without a window.
#include "Catalogue.h"
#include "Convert.h"
#include "HardwareFishIncome.h"
#include "Profit.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

using namespace varkelo;

namespace {

// Each field is captioned as the price list names its item. Storing an untouched dialog on a
// fresh start must leave the record as it is; a slot out of range is refused.
TEST(Catalogue, CaptionsAndDefaultTexts) {
    TTripData fresh;
    ResetTripData(fresh);
    std::string captions; // a longevity field's is its kind's, as in the tackle window
    for (const auto& row : kCatalogue) {
        EXPECT_EQ(ConvertInt(row.DefaultText).Value, GroupSlots(fresh, row.Group)[row.Index])
            << row.EditName;
        captions += row.Group == TGroup::TackleLongevity ? std::string_view() : row.Caption;
    }
    EXPECT_EQ(captions,
              "Рак:Пескарь:Верхоплавка:Краснопёрка:Бычок:Карп:Лещ:Окунь:Ёрш:Плотва:Карась:"
              "Подлещик:Язь:Линь:Сом:Налим:Судак:Голавль:Щука:Форель:Хлеб:Червяк:"
              "Крупный червяк:Опарыш:Мотыль:Блесна:Ореховая удочка:Бамбуковая удочка:"
              "Бамбуковая 2-х коленная удочка:Бамбуковая 3-х коленная удочка:"
              "Телескопическая удочка:Телескопическая облегчённая удочка:Сачок:");
    EXPECT_THROW(SetInput(fresh, TGroup::Bait, 6, 1), std::out_of_range);
}

// Every item alone, each result worked out by hand from the price list: ten fish of a kind,
// so that a tenth shows (ten at 2.9 make 28, as below); one portion of a bait; one item of
// tackle used up; one item in use worn down to nothing. Two items of one group trading
// values cannot pass.
TEST(Profit, EachItemAtItsOwnPrice) {
    const std::vector<int> fish = {20, 27, 28,  28,  30,  50,  50,  50,  80,  85,
                                   90, 90, 110, 260, 260, 290, 300, 580, 800, 830};
    const std::vector<int> bait = {1, 1, 1, 5, 5, 50}, tackle = {10, 25, 70, 120, 250, 600, 30};
    const struct {
        TGroup Group;
        std::int32_t Count;
        const std::vector<int>& Results;
        std::int32_t TTripData::*Result;
    } groups[] = {{TGroup::Fish, 10, fish, &TTripData::FishIncome},
                  {TGroup::Bait, 1, bait, &TTripData::BaitCost},
                  {TGroup::SpentTackle, 1, tackle, &TTripData::TackleCost},
                  {TGroup::TackleLongevity, 0, tackle, &TTripData::TackleCost}};
    for (const auto& group : groups)
        for (std::size_t i = 0; i < group.Results.size(); ++i) {
            TTripData r;
            ResetTripData(r);
            GroupSlots(r, group.Group)[i] = group.Count;
            CalculateProfit(r);
            EXPECT_EQ(r.*group.Result, group.Results[i]) << int(group.Group) << " " << i;
        }
}

// What is entered: a value for one input, or with index -1 for every input of a group.
// Ten fish at 2.9 give 28, not 29: the double nearest 2.9 lies below it, and the extended
// product keeps that shortfall. Outside the entry range every integer step wraps as 32-bit
// hardware does: 50 * INT32_MAX wraps to -50, and -2^31 * 8.5 truncates and wraps to -2^30.
// Results as given, inputs untouched; stale results must not feed the calculation.
TEST(Profit, GivesTheResults) {
    constexpr auto kFish = TGroup::Fish, kBait = TGroup::Bait, kSpent = TGroup::SpentTackle,
                   kLongevity = TGroup::TackleLongevity;
    const struct {
        std::vector<std::tuple<TGroup, int, std::int32_t>> Entries; // group, index (-1: all), value
        int FishIncome, BaitCost, TackleCost, NetProfit;
    } cases[] = {
        // clang-format off
        {{}, 0, 0, 0, 0},
        {{{kFish, 1, 1}}, 2, 0, 0, 2},
        {{{kFish, 2, 20}}, 57, 0, 0, 57},
        {{{kFish, 3, 30}}, 86, 0, 0, 86},
        {{{kFish, 9, 3}}, 25, 0, 0, 25},
        {{{kFish, -1, 1}}, 406, 0, 0, 406},
        {{{kFish, 0, -1}}, -2, 0, 0, -2},
        {{{kFish, 1, -1}}, -2, 0, 0, -2},
        {{{kBait, -1, 1}}, 0, 63, 0, -63},
        {{{kLongevity, -1, 0}}, 0, 0, 1105, -1105},
        {{{kSpent, 6, 1}, {kLongevity, 6, 0}}, 0, 0, 60, -60},
        {{{kLongevity, 0, 15}}, 0, 0, -5, 5},
        {{{kFish, -1, 999999}, {kBait, -1, -99999}}, 405999594, -6299937, 0, 412299531},
        {{{kBait, 5, INT_MAX}, {kFish, 9, INT_MIN}}, -1073741824, -50, 0, -1073741774},
        // clang-format on
    };
    for (const auto& c : cases) {
        TTripData r;
        ResetTripData(r);
        for (const auto& [group, index, value] : c.Entries)
            for (int i = 0; i < int(GroupSlots(r, group).size()); ++i)
                if (index < 0 || index == i)
                    SetInput(r, group, i, value);
        r.NetProfit = 12345;
        TTripData expected = r;
        expected.FishIncome = c.FishIncome, expected.BaitCost = c.BaitCost;
        expected.TackleCost = c.TackleCost, expected.NetProfit = c.NetProfit;
        CalculateProfit(r);
        EXPECT_EQ(r, expected) << c.NetProfit;
        EXPECT_EQ(FormatProfitMessage(c.NetProfit),
                  "Чистая прибыль составляет: " + std::to_string(c.NetProfit) + " НВ.");
    }
}

// Accepted texts give their value; every refusal is in Russian, quotes what was typed and says
// why.
TEST(Conversion, AcceptsWholeNumbersOnly) {
    const char* const range = "вне диапазона целых чисел от −2147483648 до 2147483647";
    const struct {
        const char* Text;
        std::optional<std::int32_t> Value;
        const char* Refusal = "не является целым числом";
    } cases[] = {
        // clang-format off
        {"42", 42}, {"-5", -5}, {"+5", 5}, {"007", 7}, {"  12 ", 12},
        {"\t\u00a0\u30003\u2029", 3}, {"\u1680\u200a\u202f\u205f5", 5},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
        {"", {}}, {"   ", {}}, {"abc", {}}, {"1e3", {}}, {"$FF", {}}, {"0x10", {}},
        {"1,5", {}}, {"\u0661", {}}, {"\uff15", {}}, {"\u200b5", {}}, {"\x80", {}},
        {"\xc0\xa0" "5", {}}, {"5\xa0", {}}, {"--5", {}}, {"-", {}}, {"+", {}}, {"5-", {}},
        {"1 2", {}}, {"-2147483649", {}, range}, {"2147483648", {}, range},
        {"99999999999999999999", {}, range},
        // clang-format on
    };
    for (const auto& c : cases) {
        const TConversion conversion = ConvertInt(c.Text);
        EXPECT_EQ(conversion.Value, c.Value) << c.Text;
        const bool blank = conversion.Error == "пустой текст не является целым числом";
        EXPECT_EQ(conversion.Error.empty(), c.Value.has_value()) << c.Text;
        EXPECT_TRUE(c.Value || blank ||
                    conversion.Error == "«" + std::string(c.Text) + "» " + c.Refusal)
            << conversion.Error;
    }
}

// A million records with counts across the entry range, many of them large: they push the
// fish's partial sums past 2^13, where the 64-bit rounding of a sum starts to swallow the small
// fractional tails that follow. Where long double is the x87 format, every fish income must be
// the processor's own; the digest of all four results of every record, taken where it is, must
// come out the same in every build (the page's WebAssembly has no x87 to ask). The program's
// result must not depend on the precision the unit is at: every other record is reckoned at
// 53 bits, as a 32-bit Windows program starts. Plain modulo on the generator's output, as
// every library's distributions draw differently.
TEST(Profit, MillionRecordsAsTheProcessorReckons) {
    std::mt19937 random(20261206);
    const auto input = [&random] {
        const auto k = random() % 10;
        return k < 4   ? 0
               : k < 7 ? std::int32_t(random() % 221) - 20
                       : std::int32_t(random() % 1100000) - 99999;
    };
    std::uint64_t digest = 14695981039346656037u;
    for (int n = 0, mismatches = 0; n < 1'000'000 && mismatches < 5; ++n) {
        TTripData r{};
        for (TGroup group :
             {TGroup::Fish, TGroup::Bait, TGroup::SpentTackle, TGroup::TackleLongevity})
            for (std::int32_t& slot : GroupSlots(r, group))
                slot = input();
        const int precision = SetX87Precision(n % 2 ? 2 : 3);
        CalculateProfit(r);
        SetX87Precision(precision);
        const auto hardware = HardwareFishIncome(r.Fish);
        if (hardware && *hardware != r.FishIncome && ++mismatches)
            ADD_FAILURE() << "record " << n << ": " << r.FishIncome << " != " << *hardware;
        for (const std::int32_t result : {r.FishIncome, r.BaitCost, r.TackleCost, r.NetProfit})
            digest = (digest ^ std::uint32_t(result)) * 1099511628211u;
    }
    EXPECT_EQ(digest, 0xf05dddd57dd5d72du);
}

} // namespace
