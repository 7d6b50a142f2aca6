// Reading and printing matrices: the parse of a random n x n box text, the whole echo command
// (count, parse, display with formatting), and the number formatter alone in both modes.
// Each benchmark repeats and reports mean/median/stddev; counters give the time and the text
// bytes per matrix element (the formatter and the conversion: time per call).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "form.h"
#include "number_format.h"
#include "text_input.h"

namespace {

// n lines of n numbers with 1 to 17 significant digits, some with exponents, as a user or a
// saved result would hold them.
Lines RandomBox(int n, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    std::uniform_int_distribution<int> digits(1, 17), form(0, 9);
    Lines box(static_cast<std::size_t>(n));
    char buf[64];
    for (auto& line : box) {
        for (int j = 0; j < n; ++j) {
            const int len = std::snprintf(buf, sizeof buf, form(rng) == 0 ? "%.*e" : "%.*g",
                                          digits(rng), value(rng));
            if (j > 0) line.push_back(' ');
            line.append(buf, static_cast<std::size_t>(len));
        }
    }
    return box;
}

std::size_t TextBytes(const Lines& box) {
    std::size_t bytes = 0;
    for (const auto& line : box) bytes += line.size() + 1;  // with its line break
    return bytes;
}

void SetCounters(benchmark::State& state, double elements, double bytes) {
    // Seconds per element (shown with an n suffix for nanoseconds).
    state.counters["time/elem"] = benchmark::Counter(
        elements, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["bytes/elem"] = bytes / elements;
}

void BM_Parse(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Lines box = RandomBox(n, 1);
    RCOMat target;
    for (auto _ : state) {
        const std::int32_t r = CountRows(box), c = CountCols(box);
        SetSize(target, r, c);
        ParseMatrix(box, r, c, "Matrix(A)", '.', target);
        benchmark::DoNotOptimize(target.data());
    }
    SetCounters(state, double(n) * n, double(TextBytes(box)));
}

void BM_Echo(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    TForm1 form;
    form.RichEdit1 = RandomBox(n, 2);
    for (auto _ : state) {
        form.RichEdit3.clear();
        form.SpeedButton1Click();
        benchmark::DoNotOptimize(form.RichEdit3.data());
    }
    SetCounters(state, double(n) * n, double(TextBytes(form.RichEdit1)));
    std::size_t out = 0;
    for (const auto& line : form.RichEdit3) out += line.size() + 1;
    state.counters["out bytes/elem"] = double(out) / (double(n) * n);
}

// 4096 values in (-334, 334) with full 64-bit significands, seeded.
std::vector<Extended> SampleValues(std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    std::vector<Extended> xs(4096);
    for (auto& x : xs) x = static_cast<Extended>(value(rng)) / 3;
    return xs;
}

void BM_FormatNumber(benchmark::State& state) {
    const Extended scale = state.range(0) == 0 ? 0 : 1000;
    const std::vector<Extended> xs = SampleValues(3);
    char buf[kMaxNumberText];
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatNumberTo(buf, xs[i++ & 4095], scale, '.'));
        benchmark::ClobberMemory();
    }
    state.SetLabel(scale == 0 ? "exponent mode" : "rounded mode, 3 places");
}

void BM_FormatGeneral(benchmark::State& state) {
    const std::vector<Extended> xs = SampleValues(4);
    char buf[kMaxNumberText];
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatGeneralTo(buf, xs[i++ & 4095], '.'));
        benchmark::ClobberMemory();
    }
    state.SetLabel("15 digits via the 18-digit expansion");
}

void BM_Convert(benchmark::State& state) {
    const Lines box = RandomBox(64, 5);
    std::vector<std::string> fields;
    std::string scratch;
    for (const auto& line : box)
        ForEachField(line, scratch, [&](std::string_view f) {
            fields.emplace_back(f);
            return true;
        });
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TextToExtended(fields[i], '.'));
        if (++i == fields.size()) i = 0;
    }
    state.SetLabel("one field, mixed lengths");
}

constexpr int kReps = 5;

BENCHMARK(BM_Parse)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond)->Repetitions(kReps);
BENCHMARK(BM_Echo)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond)->Repetitions(kReps);
BENCHMARK(BM_FormatNumber)->Arg(1)->Arg(0)->Repetitions(kReps);
BENCHMARK(BM_FormatGeneral)->Repetitions(kReps);
BENCHMARK(BM_Convert)->Repetitions(kReps);

}  // namespace

BENCHMARK_MAIN();
