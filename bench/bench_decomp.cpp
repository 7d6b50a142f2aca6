// Speed of the decompositions (QR, singular values, the eigenvalue chain) at n = 50, 200,
// 500, next to the limit of the x87 unit on a dependent chain of multiply-adds.
//
// Every decomposition reports its time per n^3.  The closing table divides that by the time
// of one dependent multiply-add `s = a[k]*b[k] + s` on extended values read from memory, so
// the cost reads as "serial multiply-adds per n^3".  All figures are medians over the
// repetitions of this one run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "matrix.h"

namespace {

RCOMat RandomMatrix(std::int32_t m, std::int32_t n, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> uni(-1.0, 1.0);
    RCOMat A;
    SetSize(A, m, n);
    for (auto& row : A)
        for (auto& x : row) x = uni(rng);
    return A;
}

void PerN3(benchmark::State& state, std::int64_t n) {
    state.counters["per_n3"] = benchmark::Counter(
        static_cast<double>(n) * n * n,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_X87MultiplyAdd(benchmark::State& state) {
    const std::size_t len = 1024;  // two arrays of 16 KiB: read from L1
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> uni(0.5, 1.0);
    std::vector<long double> a(len), b(len);
    for (std::size_t k = 0; k < len; ++k) a[k] = uni(rng), b[k] = uni(rng);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a.data());
        benchmark::DoNotOptimize(b.data());
        long double s = 0;
        for (std::size_t k = 0; k < len; ++k) s = a[k] * b[k] + s;
        benchmark::DoNotOptimize(s);
    }
    state.counters["per_madd"] =
        benchmark::Counter(static_cast<double>(len), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void BM_QR(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const RCOMat A0 = RandomMatrix(n, n, 11);
    RCOMat Q;
    SetSize(Q, n, n);
    for (auto _ : state) {
        RCOMat A = A0;
        MatQR(A, n, n, Q);
        benchmark::DoNotOptimize(A[0][0]);
    }
    PerN3(state, n);
}

void BM_SVD(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const RCOMat A0 = RandomMatrix(n, n, 12);
    RCOMat U, V;
    SetSize(U, n, n);
    SetSize(V, n, n);
    for (auto _ : state) {
        RCOMat A = A0;
        benchmark::DoNotOptimize(MatSVD(A, U, V, 1e-15L, n, n));
    }
    PerN3(state, n);
}

void BM_EigenChain(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const RCOMat G = RandomMatrix(n, n, 13);
    matrx2 a0;
    SetSize(a0, n + 1, n + 1);
    for (std::int32_t i = 0; i < n; ++i)
        for (std::int32_t j = 0; j < n; ++j) a0[i + 1][j + 1] = static_cast<double>(G[i][j]);
    std::vector<double> wr(n + 1), wi(n + 1);
    for (auto _ : state) {
        matrx2 a = a0;
        MatBalance(a, n);
        MatHessenberg(a, n);
        benchmark::DoNotOptimize(MatHessenbergEigen(a, n, wr, wi));
    }
    PerN3(state, n);
}

BENCHMARK(BM_X87MultiplyAdd)->Repetitions(5)->ReportAggregatesOnly(true);
#define DECOMP(fn)                      \
    BENCHMARK(fn)                       \
        ->Arg(50)                       \
        ->Arg(200)                      \
        ->Unit(benchmark::kMillisecond) \
        ->Repetitions(5)                \
        ->ReportAggregatesOnly(true);   \
    BENCHMARK(fn)                       \
        ->Arg(500)                      \
        ->Unit(benchmark::kMillisecond) \
        ->Iterations(1)                 \
        ->Repetitions(3)                \
        ->ReportAggregatesOnly(true)
DECOMP(BM_QR);
DECOMP(BM_SVD);
DECOMP(BM_EigenChain);
#undef DECOMP

// Prints the console table as usual and keeps the medians for the closing table.
class MedianCollector : public benchmark::ConsoleReporter {
  public:
    struct Median {
        double realMs, cpuMs;
        double perN3;  // seconds of CPU time per n^3
    };
    double perMadd = 0;
    std::vector<std::pair<std::string, Median>> medians;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name != "median") continue;
            const auto find = [&run](const char* name) {
                const auto it = run.counters.find(name);
                return it == run.counters.end() ? 0.0 : static_cast<double>(it->second);
            };
            if (run.run_name.function_name == "BM_X87MultiplyAdd") {
                perMadd = find("per_madd");
            } else {
                // Times are in the run's unit, ms.
                medians.push_back(
                    {run.run_name.function_name + "/" + run.run_name.args,
                     {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(), find("per_n3")}});
            }
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    MedianCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nOne dependent x87 multiply-add (median, cpu): %.3f ns\n\n",
                reporter.perMadd * 1e9);
    // Rates are CPU time, like the multiply-add's, so the ratio is not skewed by other
    // processes on the shared machine.
    std::printf("%-20s %10s %10s %12s %16s\n", "decomposition", "real ms", "cpu ms", "ns per n^3",
                "per (madd*n^3)");
    for (const auto& [name, m] : reporter.medians) {
        std::printf("%-20s %10.2f %10.2f %12.3f %16.3f\n", name.c_str(), m.realMs, m.cpuMs,
                    m.perN3 * 1e9, reporter.perMadd > 0 ? m.perN3 / reporter.perMadd : 0.0);
    }
    return 0;
}
