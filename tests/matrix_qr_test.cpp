// MatQR: worked cases with their exact zeros and signs, and residual ratios over a table of
// generated matrices.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <string>

#include "matrix.h"
#include "matrix_test_matrices.h"

namespace {

using testmat::Kind;

constexpr Extended kSentinel = 777.0L;
// Scale, sums of squares and dot products are doubles, so the unit roundoff that bounds the
// errors is that of double.
constexpr Extended kEpsDouble = 0x1p-53L;
constexpr Extended kThreshold = 30;

struct QrCase {
    const char* name;
    RCOMat A;
    RCOMat R;      // expected R
    RCOMat Q;      // expected Q; empty: checked through orthogonality and the residual only
    Extended tol;  // largest difference allowed; 0: bit-exact
};

void PrintTo(const QrCase& c, std::ostream* os) {
    *os << c.name;
}

class QrWorked : public ::testing::TestWithParam<QrCase> {};

TEST_P(QrWorked, GivesTheWorkedFactors) {
    const QrCase& c = GetParam();
    const auto m = static_cast<std::int32_t>(c.A.size());
    const auto n = static_cast<std::int32_t>(c.A[0].size());
    RCOMat R = c.A;
    RCOMat Q = testmat::Filled(m, m, kSentinel);
    MatQR(R, m, n, Q);
    for (std::int32_t i = 0; i < m; ++i) {
        for (std::int32_t j = 0; j < n; ++j) {
            if (i > j) {
                EXPECT_EQ(R[i][j], 0.0L) << "R below the diagonal at " << i << "," << j;
            } else {
                EXPECT_LE(std::fabs(R[i][j] - c.R[i][j]), c.tol) << "R at " << i << "," << j;
            }
        }
        if (!c.Q.empty()) {
            for (std::int32_t j = 0; j < m; ++j)
                EXPECT_LE(std::fabs(Q[i][j] - c.Q[i][j]), c.tol) << "Q at " << i << "," << j;
        }
    }
    EXPECT_LE(testmat::OrthogonalityLoss(Q, m), 30 * m * kEpsDouble);
    EXPECT_LE(testmat::NormDiff(testmat::Product(Q, R), c.A),
              30 * n * kEpsDouble * testmat::Norm1(c.A));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QrWorked,
    ::testing::Values(
        // One row: no reflection at all.
        QrCase{"Positive1x1", {{2.5L}}, {{2.5L}}, {{1}}, 0},
        QrCase{"Negative1x1", {{-4}}, {{-4}}, {{1}}, 0},
        QrCase{"Row1x3", {{1, -2, 3}}, {{1, -2, 3}}, {{1}}, 0},
        // alpha takes the opposite sign of the leading element.
        QrCase{"Column3_4", {{3}, {4}}, {{-5}, {0}}, {{-0.6L, -0.8L}, {-0.8L, 0.6L}}, 4e-16L},
        QrCase{"ColumnMinus3_4", {{-3}, {4}}, {{5}, {0}}, {{-0.6L, 0.8L}, {0.8L, 0.6L}}, 4e-16L},
        // A leading 0 counts as positive: the diagonal element comes out negative.
        QrCase{"ColumnLeadingZero", {{0}, {2}}, {{-2}, {0}}, {{0, -1}, {-1, 0}}, 0},
        // A zero column is skipped; a square operand's last column gets no reflection.
        QrCase{"ZeroFirstColumn", {{0, 1}, {0, 2}}, {{0, 1}, {0, 2}}, {{1, 0}, {0, 1}}, 0},
        QrCase{"ZeroMatrix3x2",
               {{0, 0}, {0, 0}, {0, 0}},
               {{0, 0}, {0, 0}, {0, 0}},
               {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
               0},
        QrCase{"Identity2", {{1, 0}, {0, 1}}, {{-1, 0}, {0, 1}}, {{-1, 0}, {0, 1}}, 0},
        QrCase{"Tall3x2",
               {{1, 2}, {3, 4}, {5, 6}},
               {{-std::sqrt(35.0L), -44 / std::sqrt(35.0L)}, {0, std::sqrt(24.0L / 35.0L)}, {0, 0}},
               {},
               4e-15L},
        // Two reflections; rows 2 and 3 of R exactly 0.
        QrCase{"Tall4x2",
               {{1, 0}, {0, 1}, {0, 0}, {0, 0}},
               {{-1, 0}, {0, -1}, {0, 0}, {0, 0}},
               {{-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}},
               0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Accuracy over generated matrices ---------------------------------------------------

struct QrAccuracyCase {
    testmat::Shape shape;
    Kind kind;
};

class QrAccuracy : public ::testing::TestWithParam<QrAccuracyCase> {};

TEST_P(QrAccuracy, ResidualsAreSmall) {
    const auto [shape, kind] = GetParam();
    const auto [m, n] = shape;
    const RCOMat A = testmat::Generate(kind, m, n, 1000u * m + n);
    RCOMat R = A;
    RCOMat Q = testmat::Filled(m, m, kSentinel);
    MatQR(R, m, n, Q);

    for (std::int32_t i = 0; i < m; ++i)
        for (std::int32_t j = 0; j < std::min(i, n); ++j) ASSERT_EQ(R[i][j], 0.0L);

    const Extended normA = testmat::Norm1(A);
    const Extended residual = testmat::NormDiff(testmat::Product(Q, R), A);
    if (normA == 0) {
        EXPECT_EQ(residual, 0.0L);
    } else {
        EXPECT_LT(residual / (n * normA * kEpsDouble), kThreshold);
    }
    EXPECT_LT(testmat::OrthogonalityLoss(Q, m) / (m * kEpsDouble), kThreshold);
}

std::vector<QrAccuracyCase> QrAccuracyCases() {
    const testmat::Shape shapes[] = {{1, 1},   {2, 2},  {3, 3},   {5, 3},  {7, 1},
                                     {10, 10}, {12, 5}, {40, 25}, {40, 40}};
    const Kind kinds[] = {Kind::Random,         Kind::Graded, Kind::RankDeficient,
                          Kind::IllConditioned, Kind::Zero,   Kind::Identity};
    std::vector<QrAccuracyCase> cases;
    for (const auto& s : shapes)
        for (Kind k : kinds) cases.push_back({s, k});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Generated, QrAccuracy, ::testing::ValuesIn(QrAccuracyCases()),
                         [](const auto& info) {
                             const auto& p = info.param;
                             return std::string(testmat::KindName(p.kind)) + "_" +
                                    std::to_string(p.shape.m) + "x" + std::to_string(p.shape.n);
                         });

// A column whose elements sum past the largest double: the double scale overflows, and the
// routine still returns (the caller reports the raised flag).
TEST(QrFaults, ScaleOverflowRaisesTheFlagAndReturns) {
    RCOMat R = {{1e308L, 1}, {1e308L, 2}};
    RCOMat Q = testmat::Make(2, 2);
    std::feclearexcept(FE_ALL_EXCEPT);
    MatQR(R, 2, 2, Q);
    EXPECT_TRUE(std::fetestexcept(FE_OVERFLOW));
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
