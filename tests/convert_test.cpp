#include "Catalogue.h"
#include "Convert.h"

#include <gtest/gtest.h>

#include <climits>

using namespace varkelo;

namespace {

struct TConvertCase {
    const char* Text;
    std::optional<std::int32_t> Value;
};

class Conversion : public testing::TestWithParam<TConvertCase> {};

// Accepted texts give their value; every refusal is in Russian and quotes what was typed.
TEST_P(Conversion, AcceptsWholeNumbersOnly) {
    const TConvertCase& c = GetParam();
    const TConversion conversion = ConvertInt(c.Text);
    EXPECT_EQ(conversion.Value, c.Value);
    if (c.Value) {
        EXPECT_EQ(StrToInt(c.Text), *c.Value);
        EXPECT_EQ(conversion.Error, "");
    } else {
        EXPECT_THROW(StrToInt(c.Text), EConvertError);
        EXPECT_NE(conversion.Error.find("цел"), std::string::npos) << conversion.Error;
        const bool blank = conversion.Error == "пустой текст не является целым числом";
        EXPECT_TRUE(blank || conversion.Error.starts_with("«" + std::string(c.Text) + "» "))
            << conversion.Error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Conversion,
    testing::Values(TConvertCase{"42", 42}, TConvertCase{"-5", -5}, TConvertCase{"+5", 5},
                    TConvertCase{"007", 7}, TConvertCase{"  12 ", 12},
                    TConvertCase{"\t\u00a0\u30003\u2029", 3},
                    TConvertCase{"\u1680\u200a\u202f\u205f5", 5}, TConvertCase{"\x80", {}},
                    TConvertCase{"2147483647", INT_MAX}, TConvertCase{"-2147483648", INT_MIN},
                    TConvertCase{"", {}}, TConvertCase{"   ", {}}, TConvertCase{"abc", {}},
                    TConvertCase{"1e3", {}}, TConvertCase{"$FF", {}}, TConvertCase{"0x10", {}},
                    TConvertCase{"1,5", {}}, TConvertCase{"\u0661", {}}, TConvertCase{"\uff15", {}},
                    TConvertCase{"\u200b5", {}},
                    TConvertCase{"\xc0\xa0"
                                 "5",
                                 {}},
                    TConvertCase{"5\xa0", {}}, TConvertCase{"--5", {}}, TConvertCase{"-", {}},
                    TConvertCase{"+", {}}, TConvertCase{"5-", {}}, TConvertCase{"1 2", {}},
                    TConvertCase{"2147483648", {}}, TConvertCase{"-2147483649", {}},
                    TConvertCase{"99999999999999999999", {}}));

TEST(Conversion, OutOfRangeIsSaidSo) {
    EXPECT_EQ(ConvertInt("2147483648").Error,
              "«2147483648» вне диапазона целых чисел от −2147483648 до 2147483647");
}

// The entry windows store all their fields or none: the first bad one is named by its caption.
TEST(StoreRule, AllOrNothing) {
    const auto bait = CatalogueGroup(TGroup::Bait);
    std::vector<std::string> texts{"1", "-2", " 3", "+4", "5", "6"};
    const TConvertedEntries good = ConvertEntries(bait, texts);
    EXPECT_TRUE(good.Ok());
    EXPECT_EQ(good.Values, (std::vector<std::int32_t>{1, -2, 3, 4, 5, 6}));

    texts[3] = "x";
    texts[5] = "";
    const TConvertedEntries bad = ConvertEntries(bait, texts);
    EXPECT_FALSE(bad.Ok());
    EXPECT_TRUE(bad.Values.empty());
    EXPECT_EQ(bad.BadRow, 3u);
    EXPECT_EQ(bad.Message, "Опарыш: «x» не является целым числом");
}

} // namespace
