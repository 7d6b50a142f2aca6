// Element-wise operations, reductions, transpose and product.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "matrix.h"
#include "matrix_test_util.h"

using namespace qm_test;

TEST(MatMaxMin, WorkedCases) {
    struct Case {
        const char* name;
        RCOMat a;
        Extended max, min;
    } cases[] = {
        {"negatives", Mat({{-3, -1}, {-7, -2}}), -1, -7}, {"single", Mat({{5}}), 5, 5},
        {"repeated max", Mat({{1, 9}, {9, 2}}), 9, 1},    {"no rows", RCOMat{}, 0, 0},
        {"rows without columns", Filled(3, 0), 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatMax(c.a), c.max) << c.name;
        EXPECT_EQ(MatMin(c.a), c.min) << c.name;
    }
}

TEST(MatMaxMin, FirstOfEqualZerosWins) {
    EXPECT_TRUE(std::signbit(MatMax(Mat({{-0.0L, 0.0L}}))));
    EXPECT_FALSE(std::signbit(MatMax(Mat({{0.0L, -0.0L}}))));
    EXPECT_TRUE(std::signbit(MatMin(Mat({{-0.0L, 0.0L}}))));
}

TEST(MatLogical, AndOrXorOfWorkedOperands) {
    const RCOMat a = Mat({{2, 0}, {-0.5L, 0}});
    const RCOMat b = Mat({{3, 3}, {0, 0}});
    struct Case {
        const char* name;
        void (*op)(const RCOMat&, const RCOMat&, RCOMat&);
        RCOMat want;
    } cases[] = {
        {"and", MatAnd, Mat({{1, 0}, {0, 0}})},
        {"or", MatOr, Mat({{1, 1}, {1, 0}})},
        {"xor", MatXor, Mat({{0, 1}, {1, 0}})},
    };
    for (const auto& c : cases) {
        RCOMat out = Filled(1, 1);
        c.op(a, b, out);
        EXPECT_EQ(MatrixError, 0) << c.name;
        EXPECT_TRUE(SameBits(out, c.want)) << c.name << ": " << Show(out);
    }
}

TEST(MatLogical, NegativeZeroIsFalse) {
    RCOMat out;
    MatOr(Mat({{-0.0L}}), Mat({{0.0L}}), out);
    EXPECT_TRUE(SameBits(out, Mat({{0.0L}})));
    MatXor(Mat({{-0.0L}}), Mat({{7}}), out);
    EXPECT_TRUE(SameBits(out, Mat({{1}})));
}

// Two-operand operations with mismatched or empty operands leave C as it was.
TEST(MatEqualShape, RefusedOperandsLeaveOutputUntouched) {
    void (*ops[])(const RCOMat&, const RCOMat&, RCOMat&) = {MatAdd, MatAnd, MatOr, MatXor};
    struct Case {
        const char* name;
        RCOMat a, b;
        std::int32_t status;
    } cases[] = {
        {"rows differ", Filled(2, 2, 1), Filled(3, 2, 1), 4},
        {"columns differ", Filled(2, 2, 1), Filled(2, 3, 1), 4},
        {"A empty", RCOMat{}, Filled(2, 2, 1), 5},
        {"B empty", Filled(2, 2, 1), RCOMat{}, 5},
    };
    for (auto op : ops)
        for (const auto& c : cases) {
            RCOMat out = Filled(1, 2);
            MatrixError = 0;
            op(c.a, c.b, out);
            EXPECT_EQ(MatrixError, c.status) << c.name;
            EXPECT_TRUE(SameBits(out, Filled(1, 2))) << c.name;
        }
}

TEST(MatAdd, SumsAndResizesOutput) {
    RCOMat out = Filled(5, 1);
    MatrixError = 4;
    MatAdd(Mat({{1, 2, 3}, {4, 5, 6}}), Mat({{0.5L, -2, 0}, {1, 1, -6}}), out);
    EXPECT_EQ(MatrixError, 0);
    EXPECT_TRUE(SameBits(out, Mat({{1.5L, 0, 3}, {5, 6, 0}})));
}

TEST(MatTrace, ExistingDiagonalOnly) {
    EXPECT_EQ(MatTrace(Mat({{1, 2, 3}, {4, 5, 6}})), 6);
    EXPECT_EQ(MatTrace(Mat({{1, 2}, {3, 4}, {5, 6}})), 5);
    EXPECT_EQ(MatTrace(RCOMat{}), 0);
    EXPECT_EQ(MatrixError, 5);
    // Summed from 0.0 in increasing index: 1 + 2^-64 is lost, then -1 leaves 0.
    EXPECT_EQ(MatTrace(Mat({{1, 0, 0}, {0, 0x1p-64L, 0}, {0, 0, -1}})), 0);
}

TEST(MatScale, MultipliesEveryElementAndKeepsSignedZeros) {
    RCOMat out = Filled(1, 1);
    MatScale(Mat({{1, -2}, {0, 3}}), out, 0.0L);
    EXPECT_TRUE(SameBits(out, Mat({{0.0L, -0.0L}, {0.0L, 0.0L}})));
    MatScale(Mat({{1, -2}}), out, 2.5L);
    EXPECT_TRUE(SameBits(out, Mat({{2.5L, -5}})));
    RCOMat untouched = Filled(1, 1);
    MatScale(RCOMat{}, untouched, 2);
    EXPECT_EQ(MatrixError, 5);
    EXPECT_TRUE(SameBits(untouched, Filled(1, 1)));
}

TEST(MatArrayOps, ProductAndQuotientElementByElement) {
    RCOMat out = Filled(2, 2);
    MatArrayMultiply(Mat({{1, 2}, {3, 4}}), Mat({{-1, 0.5L}, {2, 0}}), out);
    EXPECT_TRUE(SameBits(out, Mat({{-1, 1}, {6, 0}})));
    out = Filled(2, 2);
    EXPECT_TRUE(MatArrayDivide(Mat({{1, 2}, {3, 4}}), Mat({{-1, 0.5L}, {2, 8}}), out));
    EXPECT_TRUE(SameBits(out, Mat({{-1, 4}, {1.5L, 0.5L}})));
}

TEST(MatArrayOps, DivideStopsAtFirstZeroDivisor) {
    for (Extended zero : {0.0L, -0.0L}) {
        RCOMat out = Filled(2, 2);
        EXPECT_FALSE(MatArrayDivide(Mat({{6, 6}, {6, 6}}), Mat({{2, zero}, {0, 1}}), out));
        EXPECT_TRUE(SameBits(out, Mat({{3, kSentinel}, {kSentinel, kSentinel}})));
    }
}

TEST(MatTranspose, ShapesAndExactCopies) {
    RCOMat out = Filled(1, 1);
    const RCOMat row = Mat({{1, -0.0L, 3, 4}});
    MatTranspose(row, out);
    EXPECT_TRUE(SameBits(out, Mat({{1}, {-0.0L}, {3}, {4}})));
    RCOMat back;
    MatTranspose(out, back);
    EXPECT_TRUE(SameBits(back, row));

    RCOMat untouched = Filled(1, 1);
    MatTranspose(RCOMat{}, untouched);
    EXPECT_EQ(MatrixError, 5);
    EXPECT_TRUE(SameBits(untouched, Filled(1, 1)));
}

TEST(MatMultiply, WorkedCases) {
    struct Case {
        const char* name;
        RCOMat a, b, want;
    } cases[] = {
        {"2x2", Mat({{1, 2}, {3, 4}}), Mat({{5, 6}, {7, 8}}), Mat({{19, 22}, {43, 50}})},
        {"row times column", Mat({{1, 2, 3}}), Mat({{4}, {5}, {6}}), Mat({{32}})},
        {"column times row", Mat({{1}, {2}, {3}}), Mat({{4, 5, 6}}),
         Mat({{4, 5, 6}, {8, 10, 12}, {12, 15, 18}})},
    };
    for (const auto& c : cases) {
        RCOMat out = Filled(1, 1);
        MatMultiply(c.a, c.b, out);
        EXPECT_EQ(MatrixError, 0) << c.name;
        EXPECT_TRUE(SameBits(out, c.want)) << c.name << ": " << Show(out);
    }
}

TEST(MatMultiply, RefusedOperandsLeaveOutputUntouched) {
    struct Case {
        const char* name;
        RCOMat a, b;
        std::int32_t status;
    } cases[] = {
        {"inner dimensions differ", Filled(2, 3, 1), Filled(2, 3, 1), 4},
        {"A empty", RCOMat{}, Filled(2, 3, 1), 5},
        {"B empty", Filled(2, 3, 1), RCOMat{}, 5},
    };
    for (const auto& c : cases) {
        RCOMat out = Filled(2, 2);
        MatMultiply(c.a, c.b, out);
        EXPECT_EQ(MatrixError, c.status) << c.name;
        EXPECT_TRUE(SameBits(out, Filled(2, 2))) << c.name;
    }
}

// The tiled product must reproduce the plain triple loop bit for bit, on every shape the
// tiles cut differently: odd sizes, single rows and columns, inner dimension 0.
TEST(MatMultiply, BitIdenticalToPlainLoop) {
    std::mt19937_64 rng(20240611);
    const std::int32_t shapes[][3] = {
        {1, 1, 1}, {1, 7, 1}, {7, 1, 1},    {1, 1, 9},    {9, 1, 1},  {2, 2, 2},  {3, 5, 7},
        {7, 5, 3}, {4, 0, 3}, {13, 17, 11}, {16, 16, 16}, {1, 12, 9}, {12, 9, 1}, {33, 20, 35}};
    for (const auto& s : shapes) {
        const RCOMat a = Random(rng, s[0], s[1]);
        const RCOMat b = Random(rng, s[1], s[2]);
        RCOMat out = Filled(1, 1);
        MatMultiply(a, s[1] == 0 ? Filled(0, 0) : b, out);
        if (s[1] == 0) {
            EXPECT_EQ(MatrixError, 5);  // B without rows
            continue;
        }
        EXPECT_TRUE(SameBits(out, PlainProduct(a, b)))
            << s[0] << "x" << s[1] << " * " << s[1] << "x" << s[2];
    }
    // Cancellation makes the summation order visible: 1 + 2^-64 - 1 gives 0, in any other
    // order 2^-64 could survive.
    RCOMat out;
    MatMultiply(Mat({{1, 0x1p-64L, -1}}), Mat({{1}, {1}, {1}}), out);
    EXPECT_TRUE(SameBits(out, Mat({{0}})));
}
