// The eigenvalue chain: MatBalance, MatHessenberg and MatHessenbergEigen, one by one on
// worked matrices and together on generated ones, with an independent oracle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <complex>
#include <limits>
#include <string>

#include "matrix.h"
#include "matrix_test_matrices.h"

#if QUILLMARK_HAVE_EIGEN
#include <Eigen/Eigenvalues>
#include <Eigen/LU>
#endif

namespace {

using testmat::Kind;

constexpr double kSentinel = 777.0;
constexpr double kEps = 0x1p-53;  // the chain stores doubles
constexpr double kThreshold = 30;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

using Rows = std::vector<std::vector<double>>;

// 1-based working matrix from 0-based rows.
matrx2 Work(const Rows& A) {
    const auto n = static_cast<std::int32_t>(A.size());
    matrx2 a;
    SetSize(a, n + 1, n + 1);
    for (std::int32_t i = 0; i < n; ++i)
        for (std::int32_t j = 0; j < n; ++j) a[i + 1][j + 1] = A[i][j];
    return a;
}

Rows Inner(const matrx2& a) {
    Rows A;
    for (std::size_t i = 1; i < a.size(); ++i) A.emplace_back(a[i].begin() + 1, a[i].end());
    return A;
}

struct Eigenvalues {
    std::vector<double> wr, wi;
    bool converged;
};

// The command's sequence, with the result vectors prefilled with a sentinel.
Eigenvalues Chain(const Rows& A) {
    const auto n = static_cast<std::int32_t>(A.size());
    matrx2 a = Work(A);
    Eigenvalues r{std::vector<double>(n + 1, kSentinel), std::vector<double>(n + 1, kSentinel),
                  false};
    std::feclearexcept(FE_ALL_EXCEPT);
    MatBalance(a, n);
    MatHessenberg(a, n);
    r.converged = MatHessenbergEigen(a, n, r.wr, r.wi);
    EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0);
    EXPECT_EQ(r.wr[0], kSentinel) << "entry 0 carries no value";
    EXPECT_EQ(r.wi[0], kSentinel) << "entry 0 carries no value";
    return r;
}

// ---- Worked cases -----------------------------------------------------------------------

struct EigenCase {
    const char* name;
    Rows A;
    std::vector<double> wr, wi;  // expected, at positions 1..n
    double tol;                  // 0: bit-exact
    bool ordered;                // false: compared as a set of (re, im) pairs
};

void PrintTo(const EigenCase& c, std::ostream* os) {
    *os << c.name;
}

class EigenWorked : public ::testing::TestWithParam<EigenCase> {};

TEST_P(EigenWorked, GivesTheWorkedEigenvalues) {
    const EigenCase& c = GetParam();
    const Eigenvalues r = Chain(c.A);
    ASSERT_TRUE(r.converged);
    std::vector<std::pair<double, double>> got, want;
    for (std::size_t k = 0; k < c.wr.size(); ++k) {
        got.emplace_back(r.wr[k + 1], r.wi[k + 1]);
        want.emplace_back(c.wr[k], c.wi[k]);
    }
    if (!c.ordered) {
        std::sort(got.begin(), got.end());
        std::sort(want.begin(), want.end());
    }
    for (std::size_t k = 0; k < got.size(); ++k) {
        EXPECT_LE(std::fabs(got[k].first - want[k].first), c.tol) << "real part " << k + 1;
        EXPECT_LE(std::fabs(got[k].second - want[k].second), c.tol) << "imag part " << k + 1;
    }
}

const double kSqrt2 = std::sqrt(2.0);
const double kSqrt33 = std::sqrt(33.0);
const double kHalfSqrt3 = std::sqrt(3.0) / 2;

INSTANTIATE_TEST_SUITE_P(
    Cases, EigenWorked,
    ::testing::Values(
        EigenCase{"OneByOne", {{-2.5}}, {-2.5}, {0}, 0, true},
        // Zero subdiagonals: single roots in diagonal order, without an iteration.
        EigenCase{"Diagonal", {{1, 0, 0}, {0, 2, 0}, {0, 0, 3}}, {1, 2, 3}, {0, 0, 0}, 0, true},
        EigenCase{
            "UpperTriangular", {{1, 2, 3}, {0, 4, 5}, {0, 0, 6}}, {1, 4, 6}, {0, 0, 0}, 0, true},
        EigenCase{"JordanBlock", {{2, 1}, {0, 2}}, {2, 2}, {0, 0}, 0, true},
        EigenCase{"Zero3", {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, {0, 0, 0}, {0, 0, 0}, 0, true},
        // A complex pair: the negative imaginary part first.
        EigenCase{"Rotation", {{0, -1}, {1, 0}}, {0, 0}, {-1, 1}, 0, true},
        // A real pair: x + z first, then x - w/z.
        EigenCase{"RealPair",
                  {{1, 2}, {3, 4}},
                  {(5 - kSqrt33) / 2, (5 + kSqrt33) / 2},
                  {0, 0},
                  8 * kEps,
                  true},
        EigenCase{
            "Companion", {{0, 0, 6}, {1, 0, -11}, {0, 1, 6}}, {1, 2, 3}, {0, 0, 0}, 1e-13, false},
        // The plain double shift stalls on these two; the exceptional shift breaks it.
        EigenCase{"CyclicPermutation",
                  {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
                  {-0.5, -0.5, 1},
                  {-kHalfSqrt3, kHalfSqrt3, 0},
                  16 * kEps,
                  false},
        EigenCase{"Tridiagonal2_1",
                  {{2, 1, 0}, {1, 2, 1}, {0, 1, 2}},
                  {2 - kSqrt2, 2, 2 + kSqrt2},
                  {0, 0, 0},
                  16 * kEps,
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

// The pair of the cyclic permutation sits at neighbouring positions, negative imaginary
// part first, and the real eigenvalue has imaginary part exactly 0.
TEST(EigenWorkedOrder, CyclicPermutationPairIsAdjacentNegativeFirst) {
    const Eigenvalues r = Chain({{0, 0, 1}, {1, 0, 0}, {0, 1, 0}});
    ASSERT_TRUE(r.converged);
    int pairAt = 0;
    for (int k = 1; k <= 2; ++k)
        if (r.wi[k] != 0 && r.wi[k + 1] != 0) pairAt = k;
    ASSERT_NE(pairAt, 0);
    EXPECT_LT(r.wi[pairAt], 0);
    EXPECT_EQ(r.wi[pairAt], -r.wi[pairAt + 1]);
    EXPECT_EQ(r.wr[pairAt], r.wr[pairAt + 1]);
    const int single = pairAt == 1 ? 3 : 1;
    EXPECT_EQ(r.wi[single], 0.0);
    EXPECT_NEAR(r.wr[single], 1.0, 8 * kEps);
}

// ---- MatBalance -------------------------------------------------------------------------

// Each element changes by an exact power of 2 that is d_j / d_i for one diagonal D, the
// diagonal stays as it was, and off-diagonal row and column sums end up comparable.
TEST(Balance, ScalesByPowersOfTwoUntilRowsAndColumnsMatch) {
    const Rows A = {{1, 1e6, 3e5}, {1e-6, 2, 4e-3}, {2e-5, 7e2, 3}};
    matrx2 a = Work(A);
    MatBalance(a, 3);
    const Rows B = Inner(a);
    std::vector<int> d(3);  // exponent of d_i, relative to d_0
    for (int j = 1; j < 3; ++j) d[j] = std::ilogb(B[0][j] / A[0][j]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(B[i][i], A[i][i]);
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(B[i][j], std::ldexp(A[i][j], d[j] - d[i])) << i << "," << j;
    }
    for (int i = 0; i < 3; ++i) {
        double c = 0, r = 0;
        for (int j = 0; j < 3; ++j)
            if (j != i) c += std::fabs(B[j][i]), r += std::fabs(B[i][j]);
        EXPECT_LE(c, 8 * r) << "index " << i;
        EXPECT_LE(r, 8 * c) << "index " << i;
    }
}

TEST(Balance, IndexWithZeroRowOrColumnSumIsNotRescaled) {
    // Index 1 has no off-diagonal column element, index 2 no off-diagonal row element: for
    // all the imbalance, neither is rescaled.
    const Rows A = {{1, 1e8}, {0, 1}};
    matrx2 a = Work(A);
    MatBalance(a, 2);
    EXPECT_EQ(Inner(a), A);
}

TEST(Balance, BalancedMatrixIsLeftAlone) {
    const Rows A = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    matrx2 a = Work(A);
    MatBalance(a, 3);
    EXPECT_EQ(Inner(a), A);
}

// A column sum that overflows to inf would keep "while c > g: c = c / 4" turning forever;
// the routine must notice the raised flag and return.
TEST(Balance, OverflowingColumnSumEndsTheScalingLoop) {
    matrx2 a = Work({{0, 1, 0}, {1e308, 0, 1}, {1e308, 1, 0}});
    std::feclearexcept(FE_ALL_EXCEPT);
    MatBalance(a, 3);
    EXPECT_TRUE(std::fetestexcept(FE_OVERFLOW));
    std::feclearexcept(FE_ALL_EXCEPT);
}

// ---- MatHessenberg ----------------------------------------------------------------------

struct HessenbergCase {
    const char* name;
    Rows A, H;  // H with the multipliers below the subdiagonal
};

void PrintTo(const HessenbergCase& c, std::ostream* os) {
    *os << c.name;
}

class HessenbergWorked : public ::testing::TestWithParam<HessenbergCase> {};

TEST_P(HessenbergWorked, GivesTheWorkedReduction) {
    const HessenbergCase& c = GetParam();
    matrx2 a = Work(c.A);
    a[0].assign(a[0].size(), kSentinel);  // row 0 and column 0 carry no data
    for (auto& row : a) row[0] = kSentinel;
    MatHessenberg(a, static_cast<std::int32_t>(c.A.size()));
    EXPECT_EQ(Inner(a), c.H);
    for (const auto& row : a) EXPECT_EQ(row[0], kSentinel);
    for (double x : a[0]) EXPECT_EQ(x, kSentinel);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HessenbergWorked,
    ::testing::Values(HessenbergCase{"TwoByTwoUnchanged", {{1, 2}, {3, 4}}, {{1, 2}, {3, 4}}},
                      // Row 3 holds the larger pivot: rows and columns 2 and 3 are exchanged first.
                      HessenbergCase{"PivotFromBelow",
                                     {{1, 2, 3}, {4, 5, 6}, {8, 7, 9}},
                                     {{1, 4, 2}, {8, 12.5, 7}, {0.5, 2.25, 1.5}}},
                      // Equal magnitudes: the first one stays the pivot.
                      HessenbergCase{"TieKeepsFirst",
                                     {{1, 2, 3}, {4, 5, 6}, {-4, 7, 9}},
                                     {{1, -1, 3}, {4, -1, 6}, {-1, -3, 15}}},
                      // A zero column below the subdiagonal: nothing to eliminate.
                      HessenbergCase{"ZeroColumn",
                                     {{1, 2, 3}, {0, 5, 6}, {0, 7, 9}},
                                     {{1, 2, 3}, {0, 5, 6}, {0, 7, 9}}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- MatHessenbergEigen: the iteration limit --------------------------------------------

// A NaN in the active block never looks negligible, so the 30 iterations run out.  The
// eigenvalue that deflated before (position 4) is kept; positions 1..3 keep what they held.
TEST(HessenbergEigenLimit, StopsAfter30IterationsLeavingUnconvergedPositions) {
    matrx2 a = Work({{1, 2, 3, 4}, {1, 1, 2, 3}, {0, kNaN, 1, 2}, {0, 0, 0, 7}});
    std::vector<double> wr(5, kSentinel), wi(5, kSentinel);
    EXPECT_FALSE(MatHessenbergEigen(a, 4, wr, wi));
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_EQ(wr[4], 7.0);
    EXPECT_EQ(wi[4], 0.0);
    for (int k = 0; k <= 3; ++k) {
        EXPECT_EQ(wr[k], kSentinel) << k;
        EXPECT_EQ(wi[k], kSentinel) << k;
    }
}

// ---- MatHessenbergEigen: extended evaluation ---------------------------------------------

// |a(2,1)| + s = s with s = 2 and a(2,1) = 2^-60 holds in double but not in extended: the
// element is not negligible, so the 2x2 block goes through the real-pair branch and gives
// 1 + 2^-30 and 1 - 2^-30 instead of two single roots 1.
TEST(HessenbergEigenPrecision, NegligibilityTestIsEvaluatedInExtended) {
    matrx2 a = Work({{1, 1}, {0x1p-60, 1}});
    std::vector<double> wr(3, kSentinel), wi(3, kSentinel);
    EXPECT_TRUE(MatHessenbergEigen(a, 2, wr, wi));
    EXPECT_EQ(wr[1], 1 + 0x1p-30);
    EXPECT_EQ(wr[2], 1 - 0x1p-30);
    EXPECT_EQ(wi[1], 0.0);
    EXPECT_EQ(wi[2], 0.0);
}

// ---- The chain on generated matrices ----------------------------------------------------

struct ChainCase {
    std::int32_t n;
    Kind kind;
    bool symmetric;
};

class EigenChainAccuracy : public ::testing::TestWithParam<ChainCase> {};

Rows Generate(const ChainCase& c) {
    const RCOMat G = testmat::Generate(c.kind, c.n, c.n, 104729u * c.n + 7);
    Rows A(c.n, std::vector<double>(c.n));
    for (std::int32_t i = 0; i < c.n; ++i)
        for (std::int32_t j = 0; j < c.n; ++j)
            A[i][j] = static_cast<double>(c.symmetric ? (G[i][j] + G[j][i]) / 2 : G[i][j]);
    return A;
}

double Norm1(const Rows& A) {
    double best = 0;
    for (std::size_t j = 0; j < A.size(); ++j) {
        double sum = 0;
        for (const auto& row : A) sum += std::fabs(row[j]);
        best = std::max(best, sum);
    }
    return best;
}

TEST_P(EigenChainAccuracy, MatchesTheOracle) {
    const ChainCase c = GetParam();
    const Rows A = Generate(c);
    const Eigenvalues r = Chain(A);
    ASSERT_TRUE(r.converged);
    const std::int32_t n = c.n;
    const double normA = Norm1(A);
    const double tol = kThreshold * n * kEps * normA;

    // Properties: the sum of the eigenvalues is the trace; complex ones come in conjugate
    // pairs at neighbouring positions, negative imaginary part first.
    double trace = 0, sum = 0;
    for (std::int32_t k = 1; k <= n; ++k) trace += A[k - 1][k - 1], sum += r.wr[k];
    EXPECT_LE(std::fabs(sum - trace), tol);
    for (std::int32_t k = 1; k <= n; ++k) {
        if (r.wi[k] < 0) {
            ASSERT_LT(k, n);
            EXPECT_EQ(r.wi[k + 1], -r.wi[k]);
            EXPECT_EQ(r.wr[k + 1], r.wr[k]);
            ++k;
        } else {
            EXPECT_EQ(r.wi[k], 0.0) << "a positive imaginary part without its partner at " << k;
        }
    }
    if (c.symmetric) {
        for (std::int32_t k = 1; k <= n; ++k) EXPECT_EQ(r.wi[k], 0.0);
    }

#if QUILLMARK_HAVE_EIGEN
    Eigen::MatrixXd M(n, n);
    for (std::int32_t i = 0; i < n; ++i)
        for (std::int32_t j = 0; j < n; ++j) M(i, j) = A[i][j];
    if (c.symmetric) {
        // Symmetric: every eigenvalue has condition 1, so each moves by at most ||E||_2 under
        // a perturbation E; both sides are backward stable to a few n*eps*||A||.
        const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> oracle(M);
        std::vector<double> got(r.wr.begin() + 1, r.wr.end());
        std::sort(got.begin(), got.end());
        for (std::int32_t k = 0; k < n; ++k)
            EXPECT_LE(std::fabs(got[k] - oracle.eigenvalues()(k)), tol) << "eigenvalue " << k;
    } else {
        // General: eigenvalue j moves by about kappa_j * ||E|| with kappa_j = ||x_j|| * ||y_j||
        // for right and left eigenvectors normalised to y_j^H x_j = 1 (the rows of X^-1).
        // Each computed value is matched to the nearest unused oracle value.
        const Eigen::EigenSolver<Eigen::MatrixXd> oracle(M);
        const Eigen::MatrixXcd X = oracle.eigenvectors();
        const Eigen::MatrixXcd Y = X.inverse();
        std::vector<bool> used(n, false);
        for (std::int32_t k = 1; k <= n; ++k) {
            const std::complex<double> lambda(r.wr[k], r.wi[k]);
            int best = -1;
            for (std::int32_t j = 0; j < n; ++j)
                if (!used[j] && (best < 0 || std::abs(oracle.eigenvalues()(j) - lambda) <
                                                 std::abs(oracle.eigenvalues()(best) - lambda)))
                    best = j;
            used[best] = true;
            const double kappa = X.col(best).norm() * Y.row(best).norm();
            EXPECT_LE(std::abs(oracle.eigenvalues()(best) - lambda), tol * kappa)
                << "eigenvalue at " << k << ", condition " << kappa;
        }
    }
#endif
}

std::vector<ChainCase> ChainCases() {
    std::vector<ChainCase> cases;
    for (std::int32_t n : {1, 2, 3, 4, 5, 10, 25, 40}) {
        for (Kind k : {Kind::Random, Kind::Graded, Kind::RankDeficient})
            cases.push_back({n, k, true});
        for (Kind k : {Kind::Random, Kind::RankDeficient}) cases.push_back({n, k, false});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Generated, EigenChainAccuracy, ::testing::ValuesIn(ChainCases()),
                         [](const auto& info) {
                             const auto& p = info.param;
                             return std::string(p.symmetric ? "Symmetric" : "General") +
                                    testmat::KindName(p.kind) + "_" + std::to_string(p.n);
                         });

}  // namespace
