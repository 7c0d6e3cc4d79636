#include "Profit.h"

#include "Catalogue.h"

#include <array>
#include <bit>
#include <charconv>
#include <stdexcept>
#include <utility>

namespace varkelo {

namespace {

// Inputs outside the entry range cannot come from the windows, yet the calculation must stay
// defined for any int32_t: integer sums and products wrap in two's complement, as 32-bit
// hardware does, and so does the final conversion of an out-of-range fish income.
std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

std::int32_t WrapMul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Every quantity of the fish sum is a multiple of 2^-51: the fractional values lie in [2, 16),
// where a double's last bit is worth 2^-51 or more, and rounding only drops low bits. So the
// sum is kept exactly as an integer count of 2^-51 in a signed 128-bit fixed-point number.
constexpr int kFractionBits = 51;
constexpr double kUnitsPerWhole = 2251799813685248.0; // 2^51
constexpr int kSignificandBits = 64;

// Two's complement 128-bit integer: the little that the exact sum needs.
struct TWide {
    std::uint64_t Lo;
    std::uint64_t Hi;
};

TWide FromInt64(std::int64_t v) {
    return {static_cast<std::uint64_t>(v), v < 0 ? ~std::uint64_t{0} : 0};
}

TWide Add(TWide a, TWide b) {
    const std::uint64_t lo = a.Lo + b.Lo;
    return {lo, a.Hi + b.Hi + (lo < a.Lo ? 1 : 0)};
}

TWide Negate(TWide a) {
    const std::uint64_t lo = ~a.Lo + 1;
    return {lo, ~a.Hi + (lo == 0 ? 1 : 0)};
}

bool IsNegative(TWide a) {
    return (a.Hi >> 63) != 0;
}

// Unsigned a / 2^s for 0 < s < 64.
TWide ShiftRight(TWide a, int s) {
    return {(a.Lo >> s) | (a.Hi << (64 - s)), a.Hi >> s};
}

// count * units exactly, for |count| <= 2^31 and units < 2^56.
TWide Multiply(std::int64_t count, std::uint64_t units) {
    const auto low = count * static_cast<std::int64_t>(units & 0xFFFFFFFFu);
    const auto high = count * static_cast<std::int64_t>(units >> 32);
    const TWide highPart = {static_cast<std::uint64_t>(high) << 32,
                            static_cast<std::uint64_t>(high >> 32)};
    return Add(FromInt64(low), highPart);
}

// Rounds to the nearest value with a 64-bit significand, ties to even, as the x87 unit does at
// its default precision. Works on the two's complement form directly: rounding to nearest even
// is symmetric in sign, and a negative value's ~x has the bit length of its magnitude except at
// powers of two, which need no rounding.
TWide RoundToExtended(TWide x) {
    const std::uint64_t sign = static_cast<std::uint64_t>(static_cast<std::int64_t>(x.Hi) >> 63);
    if ((x.Hi ^ sign) == 0) // below 2^64 units: nothing to drop, the common case
        return x;
    // Bits beyond the 64 most significant; the sum of twenty terms stays below 2^92 units, so
    // fewer than 64 bits are ever dropped.
    const int dropped = 64 + static_cast<int>(std::bit_width(x.Hi ^ sign)) - kSignificandBits;
    const std::uint64_t mask = (std::uint64_t{1} << dropped) - 1;
    const std::uint64_t half = (mask + 1) >> 1;
    const std::uint64_t keptIsOdd = (x.Lo >> dropped) & 1;
    // Adding half - 1, plus one more when the kept part is odd, carries exactly when the value
    // rounds up; then the dropped bits are cleared.
    const TWide rounded = Add(x, {(half - 1 + keptIsOdd) & mask, 0});
    return {rounded.Lo & ~mask, rounded.Hi};
}

// Truncates toward zero to whole НВ, keeping the low 32 bits.
std::int32_t TruncateToInt32(TWide x) {
    const bool negative = IsNegative(x);
    const TWide magnitude = ShiftRight(negative ? Negate(x) : x, kFractionBits);
    const auto low = static_cast<std::uint32_t>(magnitude.Lo);
    return static_cast<std::int32_t>(negative ? 0u - low : low);
}

struct TFishTerm {
    bool Fractional;
    std::int32_t Whole;  // the value, where it has no fraction
    std::uint64_t Units; // the value in units of 2^-51, where it has one
};

constexpr std::array<TFishTerm, kFishCount> MakeFishTerms() {
    std::array<TFishTerm, kFishCount> terms{};
    for (const auto& row : kCatalogue) {
        if (row.Group != TGroup::Fish)
            continue;
        const double scaled = row.Value() * kUnitsPerWhole;
        terms[static_cast<std::size_t>(row.Index)] = {row.HasFraction(), row.WholeValue(),
                                                      static_cast<std::uint64_t>(scaled)};
    }
    return terms;
}

constexpr std::array<TFishTerm, kFishCount> kFishTerms = MakeFishTerms();

// Each fractional value must be held exactly in units of 2^-51, or the sum would not be exact.
constexpr bool FishUnitsExact() {
    for (const auto& row : kCatalogue) {
        if (row.Group != TGroup::Fish || !row.HasFraction())
            continue;
        const auto& term = kFishTerms[static_cast<std::size_t>(row.Index)];
        if (row.Value() < 2.0 || static_cast<double>(term.Units) != row.Value() * kUnitsPerWhole)
            return false;
    }
    return true;
}
static_assert(FishUnitsExact());

template <std::size_t I> TWide AddFishTerm(TWide sum, std::int32_t count) {
    constexpr TFishTerm term = kFishTerms[I];
    if constexpr (term.Fractional) {
        sum = Add(sum, RoundToExtended(Multiply(count, term.Units)));
    } else {
        // The product is taken in 32-bit integers first, then converted exactly.
        const std::int64_t product = WrapMul(count, term.Whole);
        sum = Add(sum, TWide{static_cast<std::uint64_t>(product) << kFractionBits,
                             static_cast<std::uint64_t>(product >> (64 - kFractionBits))});
    }
    return RoundToExtended(sum);
}

template <std::size_t... I>
TWide SumFish(std::span<const std::int32_t, kFishCount> fish, std::index_sequence<I...>) {
    TWide sum{0, 0};
    // In catalogue order: each partial sum is rounded before the next term is added.
    ((sum = AddFishTerm<I>(sum, fish[I])), ...);
    return sum;
}

} // namespace

std::int32_t CalculateFishIncome(std::span<const std::int32_t, kFishCount> fish) {
    return TruncateToInt32(SumFish(fish, std::make_index_sequence<kFishCount>{}));
}

namespace {

template <std::size_t N> constexpr std::array<std::int32_t, N> Prices(TGroup group) {
    std::array<std::int32_t, N> prices{};
    for (const auto& row : kCatalogue)
        if (row.Group == group) {
            if (row.HasFraction()) // not a constant: the price list does not build
                throw std::logic_error("a price with a fraction would be cut to its whole");
            prices[static_cast<std::size_t>(row.Index)] = row.WholeValue();
        }
    return prices;
}

constexpr auto kBaitPrices = Prices<kBaitCount>(TGroup::Bait);
constexpr auto kTacklePrices = Prices<kTackleCount>(TGroup::SpentTackle);

} // namespace

void CalculateProfit(TTripData& record) {
    record.FishIncome = CalculateFishIncome(record.Fish);

    std::int32_t baitCost = 0;
    for (std::size_t i = 0; i < kBaitCount; ++i)
        baitCost = WrapAdd(baitCost, WrapMul(kBaitPrices[i], record.Bait[i]));
    record.BaitCost = baitCost;

    // Items used up are paid in full; items in use are charged one НВ per point of wear.
    std::int32_t spent = 0;
    std::int32_t wear = 0;
    for (std::size_t i = 0; i < kTackleCount; ++i) {
        spent = WrapAdd(spent, WrapMul(kTacklePrices[i], record.SpentTackle[i]));
        wear = WrapAdd(wear, WrapSub(kTacklePrices[i], record.TackleLongevity[i]));
    }
    record.TackleCost = WrapAdd(spent, wear);

    record.NetProfit = WrapSub(WrapSub(record.FishIncome, record.BaitCost), record.TackleCost);
}

std::string FormatProfitMessage(std::int32_t netProfit) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, netProfit).ptr;
    std::string message = "Чистая прибыль составляет: ";
    message.append(digits, end);
    message += " НВ.";
    return message;
}

} // namespace varkelo
