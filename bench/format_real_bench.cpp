// FormatReal at 12 and 20 digits against the C runtime's "%.16e" (17 significant digits, the work
// FormatReal's digit step does) on the same doubles.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "number/format_real.h"

namespace {

constexpr int kValueCount = 4096;

uint64_t NextRandom(uint64_t& state) {  // splitmix64
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Any finite bit pattern: the exponents spread over the whole range of doubles.
const std::vector<double>& AnyDoubles() {
    static const std::vector<double> values = [] {
        std::vector<double> result;
        uint64_t state = 1;
        while (result.size() < kValueCount) {
            const uint64_t bits = NextRandom(state);
            double value;
            std::memcpy(&value, &bits, sizeof value);
            if (std::isfinite(value)) result.push_back(value);
        }
        return result;
    }();
    return values;
}

// Everyday magnitudes: |value| from 10^-3 to 10^6, evenly spread over the decades.
const std::vector<double>& ModerateDoubles() {
    static const std::vector<double> values = [] {
        std::vector<double> result;
        uint64_t state = 2;
        while (result.size() < kValueCount) {
            const double unit = static_cast<double>(NextRandom(state) >> 11) / 9007199254740992.0;
            const double value = std::pow(10.0, -3.0 + 9.0 * unit);
            result.push_back(NextRandom(state) & 1 ? -value : value);
        }
        return result;
    }();
    return values;
}

template <const std::vector<double>& (*Values)()>
void FormatRealDigits(benchmark::State& state) {
    const std::vector<double>& values = Values();
    const int digits = static_cast<int>(state.range(0));
    char text[cv::kFormatRealMaxText];
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cv::FormatReal(values[i], digits, text, sizeof text));
        benchmark::ClobberMemory();
        i = (i + 1) % values.size();
    }
    state.SetItemsProcessed(state.iterations());
}

template <const std::vector<double>& (*Values)()>
void Snprintf16e(benchmark::State& state) {
    const std::vector<double>& values = Values();
    char text[64];
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%.16e", values[i]));
        benchmark::ClobberMemory();
        i = (i + 1) % values.size();
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(FormatRealDigits<AnyDoubles>)->Name("FormatReal/any")->Arg(12)->Arg(20);
BENCHMARK(Snprintf16e<AnyDoubles>)->Name("snprintf_16e/any");
BENCHMARK(FormatRealDigits<ModerateDoubles>)->Name("FormatReal/moderate")->Arg(12)->Arg(20);
BENCHMARK(Snprintf16e<ModerateDoubles>)->Name("snprintf_16e/moderate");

}  // namespace

BENCHMARK_MAIN();
