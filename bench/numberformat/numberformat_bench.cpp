// Each conversion beside the bare std::to_chars / std::from_chars call that
// does the comparable work on the same inputs; the conversions should stay
// within three times their baseline.

#include "engine/numberformat.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

// Values as the program meets them: prices, watts, hours, costs, with a share
// of tiny, huge and arbitrary ones.
const std::vector<double>& values() {
    static const std::vector<double> spread = [] {
        std::mt19937_64 random(42);
        std::vector<double> result;
        for (int i = 0; i < 4096; ++i) {
            const double mantissa = double(random() % 100000000) / 1000.0;
            switch (i % 8) {
            case 6:
                result.push_back(mantissa * std::pow(10.0, double(random() % 40) - 20));
                break;
            case 7:
                result.push_back(std::ldexp(double(random() % (1ULL << 53)), -40));
                break;
            default:
                result.push_back(i % 3 ? mantissa : -mantissa / 7);
            }
        }
        return result;
    }();
    return spread;
}

const std::vector<std::string>& texts() {
    static const std::vector<std::string> result = [] {
        std::vector<std::string> t;
        for (double value : values())
            t.push_back(pellion::NumberToText(value, 15));
        return t;
    }();
    return result;
}

void FormatNumberGridPattern(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pellion::FormatNumber("#.00", values()[i++ % values().size()]));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FormatNumberGridPattern);

void ToCharsFixedTwoDecimals(benchmark::State& state) {
    std::size_t i = 0;
    char buffer[400];
    for (auto _ : state) {
        auto result = std::to_chars(buffer, buffer + sizeof buffer, values()[i++ % values().size()],
                                    std::chars_format::fixed, 2);
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ToCharsFixedTwoDecimals);

void NumberToTextFifteenDigits(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pellion::NumberToText(values()[i++ % values().size()], 15));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(NumberToTextFifteenDigits);

void ToCharsGeneralFifteenDigits(benchmark::State& state) {
    std::size_t i = 0;
    char buffer[64];
    for (auto _ : state) {
        auto result = std::to_chars(buffer, buffer + sizeof buffer, values()[i++ % values().size()],
                                    std::chars_format::general, 15);
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ToCharsGeneralFifteenDigits);

void TryTextToNumberFifteenDigitTexts(benchmark::State& state) {
    std::size_t i = 0;
    double value = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pellion::TryTextToNumber(texts()[i++ % texts().size()], value));
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TryTextToNumberFifteenDigitTexts);

void FromCharsFifteenDigitTexts(benchmark::State& state) {
    std::size_t i = 0;
    double value = 0;
    for (auto _ : state) {
        const std::string& text = texts()[i++ % texts().size()];
        benchmark::DoNotOptimize(std::from_chars(text.data(), text.data() + text.size(), value));
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FromCharsFifteenDigitTexts);

} // namespace

BENCHMARK_MAIN();
