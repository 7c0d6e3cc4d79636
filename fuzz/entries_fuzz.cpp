// Every input two ways. As text: the text-to-integer conversion against a reference built on
// Qt's own idea of blanks never crashes, accepts exactly what the reference accepts, with the
// same value, and explains every refusal. As a record of int32_t inputs: the whole calculation
// has no undefined behaviour (UBSan), leaves the inputs untouched and is consistent and
// repeatable; and the exact fish income, with the counts folded onto the entry range, agrees
// with the processor's x87 long double.
#include "../tests/HardwareFishIncome.h"
#include "Convert.h"
#include "Profit.h"

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

std::optional<std::int32_t> Reference(const QString& text) {
    static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
    const QString trimmed = text.trimmed();
    if (!integer.match(trimmed).hasMatch())
        return std::nullopt;
    bool inRange = false;
    const int value = trimmed.toInt(&inRange);
    return inRange ? std::optional<std::int32_t>(value) : std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(size));
    // Fields hand over valid UTF-8; the conversion must also survive what is not.
    const std::string utf8 = text.toStdString();
    const auto expected = Reference(text);
    const varkelo::TConversion conversion = varkelo::ConvertInt(utf8);
    if (conversion.Value != expected || conversion.Value.has_value() == !conversion.Error.empty())
        std::abort();
    (void)varkelo::ConvertInt(bytes);
    varkelo::TTripData record;
    varkelo::ResetTripData(record);
    std::memcpy(&record, data, std::min(size, sizeof record));
    const varkelo::TTripData before = record;
    varkelo::CalculateProfit(record);
    const auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(record.FishIncome) -
                                                   static_cast<std::uint32_t>(record.BaitCost) -
                                                   static_cast<std::uint32_t>(record.TackleCost));
    varkelo::TTripData again = record;
    varkelo::CalculateProfit(again);
    if (std::memcmp(&record, &before, offsetof(varkelo::TTripData, FishIncome)) != 0 ||
        record.NetProfit != wrapped || !(again == record))
        std::abort();
    (void)varkelo::FormatProfitMessage(record.NetProfit);
    std::array<std::int32_t, varkelo::kFishCount> fish{};
    for (std::size_t i = 0; i < fish.size(); ++i) // -99999 to 999999
        fish[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(before.Fish[i]) % 1100000u) -
                  99999;
    if (varkelo::CalculateFishIncome(fish) != HardwareFishIncome(fish).value()) // x87 here
        std::abort();
    return 0;
}
