// Speed of the matrix library's product and direct methods, against two references measured
// in the same run:
//   (a) the plain i-j-k product loop, and
//   (b) the 80-bit limit: ns per multiply-add of s = a[k] * b[k] + s over long double arrays.
// After the usual Google Benchmark output, a table gives every routine's median CPU time per
// call divided by (its multiply-add count x (b)), and the product's speedup over (a).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "matrix.h"

namespace {

constexpr int kRepetitions = 5;

RCOMat RandomMatrix(std::int32_t n, std::uint64_t seed, Extended diagonal) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    RCOMat M(static_cast<std::size_t>(n), RCOVec(static_cast<std::size_t>(n)));
    for (auto& row : M)
        for (auto& v : row) v = u(rng);
    for (std::int32_t i = 0; i < n; ++i) M[i][i] += diagonal;
    return M;
}

// Operands: dominant diagonals keep every pivot of the unpivoted methods away from 0.
const RCOMat& Operand(std::int32_t n) {
    static std::map<std::int32_t, RCOMat> cache;
    auto it = cache.find(n);
    if (it == cache.end()) it = cache.emplace(n, RandomMatrix(n, 1234 + n, n)).first;
    return it->second;
}

// Restores the work copy; std::vector copies its 80-bit elements with memmove, so this is
// a small part of each call's time.
void Restore(RCOMat& w, const RCOMat& a) {
    for (std::size_t i = 0; i < a.size(); ++i) w[i] = a[i];
}

void BM_Reference_Dot(benchmark::State& state) {
    const std::size_t n = 1024;
    std::vector<Extended> a(n, 1.0L + 0x1p-30L), b(n, 1.0L - 0x1p-30L);
    for (auto _ : state) {
        Extended s = 0.0L;
        const Extended* pa = a.data();
        const Extended* pb = b.data();
        benchmark::DoNotOptimize(pa);
        benchmark::DoNotOptimize(pb);
        for (std::size_t k = 0; k < n; ++k) s = pa[k] * pb[k] + s;
        benchmark::DoNotOptimize(s);
    }
    state.counters["madds"] = static_cast<double>(n);
}

void BM_Reference_PlainProduct(benchmark::State& state) {
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    const RCOMat& A = Operand(n);
    const RCOMat B = RandomMatrix(n, 99, 0);
    RCOMat C(static_cast<std::size_t>(n), RCOVec(static_cast<std::size_t>(n)));
    for (auto _ : state) {
        for (std::int32_t i = 0; i < n; ++i)
            for (std::int32_t j = 0; j < n; ++j) {
                Extended s = 0.0L;
                for (std::int32_t k = 0; k < n; ++k) s = A[i][k] * B[k][j] + s;
                C[i][j] = s;
            }
        benchmark::ClobberMemory();
    }
}

void BM_MatMultiply(benchmark::State& state) {
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    const RCOMat& A = Operand(n);
    const RCOMat B = RandomMatrix(n, 99, 0);
    RCOMat C;
    for (auto _ : state) {
        MatMultiply(A, B, C);
        benchmark::ClobberMemory();
    }
}

void BM_MatInverse(benchmark::State& state) {
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    const RCOMat& A = Operand(n);
    RCOMat W = A, R;
    for (auto _ : state) {
        Restore(W, A);
        MatInverse(W, R);
        benchmark::ClobberMemory();
    }
}

void BM_MatDeterminant(benchmark::State& state) {
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    const RCOMat& A = Operand(n);
    RCOMat W = A;
    for (auto _ : state) {
        Restore(W, A);
        benchmark::DoNotOptimize(MatDeterminant(W, n));
    }
}

void BM_MatRank(benchmark::State& state) {
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    const RCOMat& A = Operand(n);
    RCOMat W = A;
    for (auto _ : state) {
        Restore(W, A);
        benchmark::DoNotOptimize(MatRank(W, n, n));
    }
}

void BM_MatLU(benchmark::State& state) {
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    const RCOMat& A = Operand(n);
    RCOMat W = A, L = A, U = A;
    for (auto _ : state) {
        Restore(W, A);
        benchmark::DoNotOptimize(MatLU(W, L, U, n, n));
    }
}

void BM_MatCholeskyLDL(benchmark::State& state) {
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    const RCOMat& A = Operand(n);
    RCOMat W = A, L = A, D = A;
    for (auto _ : state) {
        Restore(W, A);
        benchmark::DoNotOptimize(MatCholeskyLDL(W, n, L, D));
    }
}

void BM_MatPower3(benchmark::State& state) {
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    // Scaled toward norm 1 so the powers stay in range.
    RCOMat A = RandomMatrix(n, 7, 0);
    for (auto& row : A)
        for (auto& v : row) v /= n;
    RCOMat W = A, R = A;
    for (auto _ : state) benchmark::DoNotOptimize(MatPower(A, 3, W, R));
}

void Sizes500Once(benchmark::internal::Benchmark* b) {
    b->Arg(50)->Arg(200);
    b->Repetitions(kRepetitions)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(BM_Reference_Dot)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_Reference_PlainProduct)->Apply(Sizes500Once);
BENCHMARK(BM_Reference_PlainProduct)
    ->Arg(500)
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
#define QM_DIRECT(fn)                   \
    BENCHMARK(fn)->Apply(Sizes500Once); \
    BENCHMARK(fn)                       \
        ->Arg(500)                      \
        ->Iterations(1)                 \
        ->Repetitions(kRepetitions)     \
        ->ReportAggregatesOnly(true)    \
        ->Unit(benchmark::kMillisecond)
QM_DIRECT(BM_MatMultiply);
QM_DIRECT(BM_MatInverse);
QM_DIRECT(BM_MatDeterminant);
QM_DIRECT(BM_MatRank);
QM_DIRECT(BM_MatLU);
QM_DIRECT(BM_MatCholeskyLDL);
QM_DIRECT(BM_MatPower3);

namespace {

// Collects the median CPU time (ns per iteration; steadier than wall time on a shared machine) of
// every benchmark while printing as usual.
class MedianCollector : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> median_ns;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.aggregate_name != "median") continue;
            std::string name = r.run_name.str();
            const auto slash = name.find("/iterations");
            if (slash != std::string::npos) name.erase(slash);
            const auto rep = name.find("/repeats");
            if (rep != std::string::npos) name.erase(rep);
            median_ns[name] = r.GetAdjustedCPUTime() * Scale(r.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }

  private:
    static double Scale(benchmark::TimeUnit u) {
        switch (u) {
            case benchmark::kNanosecond:
                return 1.0;
            case benchmark::kMicrosecond:
                return 1e3;
            case benchmark::kMillisecond:
                return 1e6;
            default:
                return 1e9;
        }
    }
};

double MultiplyAdds(const std::string& routine, double n) {
    if (routine == "BM_MatMultiply" || routine == "BM_Reference_PlainProduct") return n * n * n;
    if (routine == "BM_MatInverse") return (n - 1) * n * (n - 1) / 2 + n * n * (n - 1);
    if (routine == "BM_MatDeterminant" || routine == "BM_MatRank" || routine == "BM_MatLU")
        return (n - 1) * n * (2 * n - 1) / 6;
    if (routine == "BM_MatCholeskyLDL") return (n - 1) * n * (n + 1) / 6;
    if (routine == "BM_MatPower3") return 2 * n * n * n;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MedianCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto dot = reporter.median_ns.find("BM_Reference_Dot");
    if (dot == reporter.median_ns.end()) return 0;
    const double limit = dot->second / 1024.0;  // (b): ns per multiply-add
    std::printf("\n(b) 80-bit limit: %.3f ns per multiply-add (median of %d)\n", limit,
                kRepetitions);
    std::printf("%-20s %5s %14s %12s %14s %12s\n", "routine", "n", "median cpu ms", "madds",
                "t/(madds*(b))", "speedup/(a)");
    const char* routines[] = {"BM_Reference_PlainProduct", "BM_MatMultiply", "BM_MatInverse",
                              "BM_MatDeterminant",         "BM_MatRank",     "BM_MatLU",
                              "BM_MatCholeskyLDL",         "BM_MatPower3"};
    for (const char* routine : routines)
        for (int n : {50, 200, 500}) {
            const std::string key = std::string(routine) + "/" + std::to_string(n);
            const auto it = reporter.median_ns.find(key);
            if (it == reporter.median_ns.end()) continue;
            const double madds = MultiplyAdds(routine, n);
            char speedup[32] = "";
            const auto plain =
                reporter.median_ns.find("BM_Reference_PlainProduct/" + std::to_string(n));
            if (std::string(routine) == "BM_MatMultiply" && plain != reporter.median_ns.end())
                std::snprintf(speedup, sizeof speedup, "%.2fx", plain->second / it->second);
            std::printf("%-20s %5d %14.3f %12.0f %14.2f %12s\n", routine + 3, n, it->second / 1e6,
                        madds, it->second / (madds * limit), speedup);
        }
    return 0;
}
