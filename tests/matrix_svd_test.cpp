// MatSVD: the worked decompositions (exact signs, orders, zeros and untouched columns),
// the result code, termination after overflow, and residual ratios over generated matrices
// with an independent oracle for the singular values.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <string>

#include "matrix.h"
#include "matrix_test_matrices.h"

#if QUILLMARK_HAVE_EIGEN
#include <Eigen/SVD>
#endif

namespace {

using testmat::Kind;

constexpr Extended kSentinel = 777.0L;
constexpr Extended kCommandEps = 1e-15L;  // the tolerance the commands pass
constexpr Extended kEpsExt = 0x1p-64L;    // unit roundoff of extended
constexpr Extended kThreshold = 30;

struct SvdRun {
    RCOMat S, U, V;
    std::int32_t result;
    int faults;
};

// Decompose A with sentinel-filled U and V and clear fault flags, as the commands do.
SvdRun Decompose(const RCOMat& A, Extended eps = kCommandEps) {
    const auto m = static_cast<std::int32_t>(A.size());
    const auto n = static_cast<std::int32_t>(A[0].size());
    SvdRun run{A, testmat::Filled(m, m, kSentinel), testmat::Filled(n, n, kSentinel), -1, 0};
    std::feclearexcept(FE_ALL_EXCEPT);
    run.result = MatSVD(run.S, run.U, run.V, eps, m, n);
    run.faults = std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO);
    std::feclearexcept(FE_ALL_EXCEPT);
    return run;
}

// U*S*V with the returned (already transposed) V.
RCOMat Reassembled(const SvdRun& r) {
    return testmat::Product(testmat::Product(r.U, r.S), r.V);
}

// ---- Worked cases -----------------------------------------------------------------------

// Cases whose every output is exact: compared element by element with ==, so a sign, an
// order, a zero or an untouched (sentinel) column that is wrong shows at once.
struct ExactCase {
    const char* name;
    RCOMat A, S, U, V;
};

void PrintTo(const ExactCase& c, std::ostream* os) {
    *os << c.name;
}

class SvdExact : public ::testing::TestWithParam<ExactCase> {};

TEST_P(SvdExact, GivesExactlyTheWorkedFactors) {
    const ExactCase& c = GetParam();
    const SvdRun r = Decompose(c.A);
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.faults, 0);
    EXPECT_EQ(r.S, c.S);
    EXPECT_EQ(r.U, c.U);
    EXPECT_EQ(r.V, c.V);
    EXPECT_EQ(Reassembled(r), c.A);
}

const Extended S = kSentinel;

INSTANTIATE_TEST_SUITE_P(
    Cases, SvdExact,
    ::testing::Values(
        // No QR step: the value only has its sign moved into V.
        ExactCase{"Positive1x1", {{2.5L}}, {{2.5L}}, {{1}}, {{1}}},
        ExactCase{"Negative1x1", {{-3}}, {{3}}, {{1}}, {{-1}}},
        // The reflections of an identity leave -1 on all but the last diagonal position.
        ExactCase{"Identity3",
                  {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                  {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                  {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}},
                  {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}},
        // Sorting carries U's columns and V's rows along.
        ExactCase{"Diagonal1_3_2",
                  {{1, 0, 0}, {0, 3, 0}, {0, 0, 2}},
                  {{3, 0, 0}, {0, 2, 0}, {0, 0, 1}},
                  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
                  {{0, -1, 0}, {0, 0, 1}, {-1, 0, 0}}},
        ExactCase{"NegativeDiagonal",
                  {{-2, 0}, {0, -5}},
                  {{5, 0}, {0, 2}},
                  {{0, -1}, {1, 0}},
                  {{0, -1}, {1, 0}}},
        // Zero matrices: identity vectors; in a tall one column m of U is cleared and the
        // columns between are left as they were.
        ExactCase{"ZeroWide2x3",
                  {{0, 0, 0}, {0, 0, 0}},
                  {{0, 0, 0}, {0, 0, 0}},
                  {{1, 0}, {0, 1}},
                  {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
        ExactCase{"ZeroTall4x2",
                  {{0, 0}, {0, 0}, {0, 0}, {0, 0}},
                  {{0, 0}, {0, 0}, {0, 0}, {0, 0}},
                  {{1, 0, S, 0}, {0, 1, S, 0}, {0, 0, S, 0}, {0, 0, S, 0}},
                  {{1, 0}, {0, 1}}},
        ExactCase{"ColumnVector",
                  {{0}, {-2}, {0}},
                  {{2}, {0}, {0}},
                  {{0, S, 0}, {1, S, 0}, {0, S, 0}},
                  {{-1}}},
        ExactCase{
            "RowVector", {{0, 0, 4}}, {{4, 0, 0}}, {{1}}, {{0, 0, 1}, {-1, 0, 0}, {0, -1, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Cases with values known to within rounding, plus the exact structure around them.
TEST(SvdWorked, ColumnVectorLeavesTheMiddleColumnsOfUUntouched) {
    const SvdRun r = Decompose({{3}, {4}, {0}});
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.S, (RCOMat{{5}, {0}, {0}}));
    EXPECT_EQ(r.V, (RCOMat{{-1}}));
    EXPECT_NEAR(static_cast<double>(r.U[0][0]), -0.6, 1e-18);
    EXPECT_NEAR(static_cast<double>(r.U[1][0]), -0.8, 1e-18);
    EXPECT_EQ(r.U[2][0], 0.0L);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(r.U[i][1], kSentinel) << "row " << i;
        EXPECT_EQ(r.U[i][2], 0.0L) << "row " << i;
    }
}

TEST(SvdWorked, RowVectorGivesTheNormalisedInputAsFirstRowOfV) {
    const SvdRun r = Decompose({{3, 4, 0}});
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.S, (RCOMat{{5, 0, 0}}));
    EXPECT_EQ(r.U, (RCOMat{{1}}));
    EXPECT_NEAR(static_cast<double>(r.V[0][0]), 0.6, 1e-18);
    EXPECT_NEAR(static_cast<double>(r.V[0][1]), 0.8, 1e-18);
    EXPECT_EQ(r.V[0][2], 0.0L);
    EXPECT_LE(testmat::OrthogonalityLoss(testmat::Transposed(r.V), 3), 4 * kEpsExt);
}

TEST(SvdWorked, RankDeficientValuesAreSortedAfterTheNonZeroOne) {
    const RCOMat A = {{1, 2, 3}, {2, 4, 6}, {3, 6, 9}};
    const SvdRun r = Decompose(A);
    EXPECT_EQ(r.result, 1);
    EXPECT_LE(std::fabs(r.S[0][0] - 14), 14 * 8 * kEpsExt);
    EXPECT_LE(r.S[1][1], 14 * 8 * kEpsExt);
    EXPECT_LE(r.S[2][2], r.S[1][1]);
    EXPECT_GE(r.S[2][2], 0.0L);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != j) {
                EXPECT_EQ(r.S[i][j], 0.0L) << i << "," << j;
            }
    EXPECT_LE(testmat::NormDiff(Reassembled(r), A), 3 * 18 * kThreshold * kCommandEps);
}

// ---- Result code ------------------------------------------------------------------------

// Without a tolerance (eps = 0) a superdiagonal element must become exactly 0 to count as
// negligible; for this matrix the 60 steps of the first value run out first.  The partial
// decomposition is written all the same: S then carries its superdiagonal, and since every
// step is an orthogonal transformation, U*S*V still reproduces A.
TEST(SvdResult, BudgetRunsOutWithoutTolerance) {
    const RCOMat A = testmat::Generate(Kind::Random, 3, 3, 1);
    const SvdRun r = Decompose(A, 0.0L);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.faults, 0);
    EXPECT_TRUE(r.S[0][1] != 0 || r.S[1][2] != 0);
    EXPECT_EQ(r.S[2][0], 0.0L);
    EXPECT_EQ(r.S[2][1], 0.0L);
    EXPECT_EQ(r.S[1][0], 0.0L);
    EXPECT_EQ(r.S[0][2], 0.0L);
    EXPECT_LT(testmat::NormDiff(Reassembled(r), A) / (3 * testmat::Norm1(A) * kEpsExt), kThreshold);
}

// Elements near the top of the extended range: the sums of squares overflow, inf and NaN
// spread, and the routine must still return (with the flags raised for the caller).
TEST(SvdResult, OverflowEndsTheIteration) {
    const SvdRun r = Decompose({{1e4000L, 2e4000L, 1}, {3e4000L, 1, 1e4000L}, {1, 1, 1}});
    EXPECT_EQ(r.result, 0);
    EXPECT_TRUE(r.faults & FE_OVERFLOW);
}

TEST(SvdResult, NaNElementEndsTheIteration) {
    const SvdRun r = Decompose({{1, 2}, {std::numeric_limits<Extended>::quiet_NaN(), 4}});
    EXPECT_EQ(r.result, 0);
}

// ---- Accuracy over generated matrices ---------------------------------------------------

struct SvdAccuracyCase {
    testmat::Shape shape;
    Kind kind;
    Extended eps;
};

class SvdAccuracy : public ::testing::TestWithParam<SvdAccuracyCase> {};

// ||A - U*S*V|| / (max(m,n) ||A|| eps), ||U'U - I|| on the first min(m,n) columns / (m eps),
// ||V V' - I|| / (n eps), with eps the unit roundoff of extended, or the negligibility
// tolerance when that is larger (setting a superdiagonal element to 0 perturbs A by up to
// tolerance times its neighbours).  Sorted, non-negative, exactly diagonal S.
TEST_P(SvdAccuracy, ResidualsAreSmall) {
    const auto [shape, kind, eps] = GetParam();
    const auto [m, n] = shape;
    const RCOMat A = testmat::Generate(kind, m, n, 7919u * m + n);
    const SvdRun r = Decompose(A, eps);
    ASSERT_EQ(r.result, 1);
    ASSERT_EQ(r.faults, 0);
    const std::int32_t k = std::min(m, n);
    for (std::int32_t i = 0; i < m; ++i)
        for (std::int32_t j = 0; j < n; ++j)
            if (i != j) {
                ASSERT_EQ(r.S[i][j], 0.0L) << i << "," << j;
            }
    for (std::int32_t i = 0; i + 1 < k; ++i) EXPECT_GE(r.S[i][i], r.S[i + 1][i + 1]);
    EXPECT_GE(r.S[k - 1][k - 1], 0.0L);

    const Extended e = std::max(eps, kEpsExt);
    const Extended normA = testmat::Norm1(A);
    const Extended residual = testmat::NormDiff(Reassembled(r), A);
    if (normA == 0) {
        EXPECT_EQ(residual, 0.0L);
    } else {
        EXPECT_LT(residual / (std::max(m, n) * normA * e), kThreshold);
    }
    EXPECT_LT(testmat::OrthogonalityLoss(r.U, k) / (m * kEpsExt), kThreshold);
    EXPECT_LT(testmat::OrthogonalityLoss(testmat::Transposed(r.V), n) / (n * kEpsExt), kThreshold);
    if (m > n) {
        for (std::int32_t i = 0; i < m; ++i) {
            EXPECT_EQ(r.U[i][m - 1], 0.0L);
            for (std::int32_t j = n; j < m - 1; ++j) ASSERT_EQ(r.U[i][j], kSentinel);
        }
    }

#if QUILLMARK_HAVE_EIGEN
    // Singular values are perfectly conditioned in the absolute sense: a perturbation E of A
    // moves each by at most ||E||_2.  Both decompositions are backward stable, so each value
    // may differ from the oracle's by a few max(m,n)*e*sigma_1.
    using MatX = Eigen::Matrix<Extended, Eigen::Dynamic, Eigen::Dynamic>;
    MatX M(m, n);
    for (std::int32_t i = 0; i < m; ++i)
        for (std::int32_t j = 0; j < n; ++j) M(i, j) = A[i][j];
    const Eigen::JacobiSVD<MatX> oracle(M);
    const auto& sigma = oracle.singularValues();
    for (std::int32_t i = 0; i < k; ++i)
        EXPECT_LE(std::fabs(r.S[i][i] - sigma(i)), kThreshold * std::max(m, n) * e * sigma(0))
            << "singular value " << i;
#endif
}

std::vector<SvdAccuracyCase> SvdAccuracyCases() {
    const testmat::Shape shapes[] = {{1, 1}, {2, 2}, {3, 3},   {5, 5},   {1, 6},   {6, 1},
                                     {5, 3}, {3, 5}, {10, 10}, {40, 25}, {25, 40}, {30, 30}};
    const Kind kinds[] = {Kind::Random,         Kind::Graded, Kind::RankDeficient,
                          Kind::IllConditioned, Kind::Zero,   Kind::Identity};
    std::vector<SvdAccuracyCase> cases;
    for (Extended eps : {kEpsExt, kCommandEps})
        for (const auto& s : shapes)
            for (Kind k : kinds) cases.push_back({s, k, eps});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Generated, SvdAccuracy, ::testing::ValuesIn(SvdAccuracyCases()),
                         [](const auto& info) {
                             const auto& p = info.param;
                             return std::string(p.eps == kEpsExt ? "Full_" : "Command_") +
                                    testmat::KindName(p.kind) + "_" + std::to_string(p.shape.m) +
                                    "x" + std::to_string(p.shape.n);
                         });

}  // namespace
