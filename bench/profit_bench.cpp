// Nanoseconds per CalculateProfit on varied records, beside the fish income alone and the
// same fish income in hardware long double.
#include "../tests/HardwareFishIncome.h"
#include "Profit.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace varkelo;

namespace {

// Argument 0: mixed records, three counts in ten from the whole entry range, so that partial
// sums often pass 2^13 and must be rounded. Argument 1: a real trip's small counts.
std::vector<TTripData> Records(const benchmark::State& state) {
    const bool typical = state.range(0) == 1;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<std::int32_t> small(typical ? 0 : -20, typical ? 30 : 200);
    std::uniform_int_distribution<std::int32_t> large(-99999, 999999);
    std::vector<TTripData> records(1024); // every input set below
    for (auto& r : records)
        for (int i = 0; i < 40; ++i) {
            const int k = kind(random);
            const bool isLarge = k >= 7 && !typical;
            reinterpret_cast<std::int32_t*>(&r)[i] = k < 4     ? 0
                                                     : isLarge ? large(random)
                                                               : small(random);
        }
    return records;
}

void BM_CalculateProfit(benchmark::State& state) {
    auto records = Records(state);
    std::size_t i = 0;
    for (auto _ : state) {
        CalculateProfit(records[i++ & 1023]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CalculateProfit)->Arg(0)->Arg(1);

void BM_FishIncomeExact(benchmark::State& state) {
    const auto records = Records(state);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(CalculateFishIncome(records[i++ & 1023].Fish));
}
BENCHMARK(BM_FishIncomeExact)->Arg(0)->Arg(1);

void BM_FishIncomeHardwareLongDouble(benchmark::State& state) {
    const auto records = Records(state);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(HardwareFishIncome(records[i++ & 1023].Fish));
}
BENCHMARK(BM_FishIncomeHardwareLongDouble)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
