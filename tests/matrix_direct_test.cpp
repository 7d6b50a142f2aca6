// Direct methods: inverse, determinant, rank, LU, LDL' and the integer power.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <random>
#include <vector>

#include "matrix.h"
#include "matrix_test_util.h"

using namespace qm_test;

namespace {

constexpr std::uint64_t kSeed = 0x5eedf00d;

// Random r x c matrix of rank k (k <= min(r, c)): k columns hold the columns of a full-rank
// integer matrix (scaled by powers of two), the other columns are zero; transposed when
// `rows` is set.  The zero columns stay exactly zero through the elimination, so the count
// cannot pick up rounding residue there and is exactly k.
RCOMat RandomOfRank(std::mt19937_64& rng, std::int32_t r, std::int32_t c, std::int32_t k,
                    bool rows) {
    if (rows) std::swap(r, c);
    std::uniform_int_distribution<int> u(-4, 4);
    RCOMat F = Filled(r, k, 0), G = Filled(k, c, 0);
    for (auto& row : F)
        for (auto& v : row) v = u(rng);
    for (std::int32_t t = 0; t < k; ++t) F[t][t] = 64;  // dominant block: full rank k
    std::vector<std::int32_t> cols(static_cast<std::size_t>(c));
    for (std::int32_t j = 0; j < c; ++j) cols[j] = j;
    std::shuffle(cols.begin(), cols.end(), rng);
    for (std::int32_t t = 0; t < k; ++t) G[t][cols[t]] = std::ldexp(1.0L, t % 3);
    RCOMat P, T;
    MatMultiply(F, G, P);
    if (!rows) return P;
    MatTranspose(P, T);
    return T;
}

}  // namespace

// ---- Inverse ------------------------------------------------------------------------------

TEST(MatInverse, WorkedCases) {
    struct Case {
        const char* name;
        RCOMat a, want;
    } cases[] = {
        {"1x1", Mat({{4}}), Mat({{0.25L}})},
        {"exchange", Mat({{0, 1}, {1, 0}}), Mat({{0, 1}, {1, 0}})},
        {"2x2", Mat({{4, 7}, {2, 6}}), Mat({{0.6L, -0.7L}, {-0.2L, 0.4L}})},
        {"diagonal", Mat({{2, 0, 0}, {0, -4, 0}, {0, 0, 8}}),
         Mat({{0.5L, 0, 0}, {0, -0.25L, 0}, {0, 0, 0.125L}})},
    };
    for (auto& c : cases) {
        RCOMat a = c.a, out = Filled(1, 1);
        MatInverse(a, out);
        ASSERT_EQ(MatrixError, 0) << c.name;
        ASSERT_EQ(out.size(), c.want.size()) << c.name;
        for (std::size_t i = 0; i < out.size(); ++i)
            for (std::size_t j = 0; j < out.size(); ++j)
                EXPECT_NEAR(static_cast<double>(out[i][j]), static_cast<double>(c.want[i][j]),
                            1e-18)
                    << c.name << " [" << i << "][" << j << "]";
    }
}

TEST(MatInverse, FailuresLeaveResultUntouched) {
    struct Case {
        const char* name;
        RCOMat a;
        std::int32_t status;
    } cases[] = {
        {"1x1 zero", Mat({{0}}), 3},
        {"last pivot zero", Mat({{1, 2}, {2, 4}}), 3},
        {"zero row", Mat({{1, 2, 3}, {0, 0, 0}, {4, 5, 7}}), 3},
        {"zero column", Mat({{1, 0, 3}, {2, 0, 1}, {4, 0, 7}}), 3},
        {"all zero", Filled(3, 3, 0), 3},
        {"not square", Filled(2, 3, 1), 4},
        {"no rows", RCOMat{}, 5},
    };
    for (auto& c : cases) {
        RCOMat a = c.a, out = Filled(2, 5);
        MatInverse(a, out);
        EXPECT_EQ(MatrixError, c.status) << c.name;
        EXPECT_TRUE(SameBits(out, Filled(2, 5))) << c.name;
    }
}

// [[1,2],[2,4]]: the pivot 4 is taken from row 1, column 1 (both interchanges), and the
// remaining diagonal element becomes exactly 0.
TEST(MatInverse, SingularFactorisationIsKeptInOperand) {
    RCOMat a = Mat({{1, 2}, {2, 4}}), out;
    MatInverse(a, out);
    EXPECT_EQ(MatrixError, 3);
    EXPECT_EQ(a[0][0], 4);
    EXPECT_EQ(a[1][1], 0);
    EXPECT_EQ(a[1][0], -0.5L);  // stored row operation: minus the multiplier
}

// ‖I − A·inv(A)‖ ≤ 30 · n · ‖A‖ · ‖inv(A)‖ · 2^-63 on random matrices of sizes 1 to 12.
TEST(MatInverse, ResidualOnRandomMatrices) {
    std::mt19937_64 rng(kSeed);
    for (std::int32_t n = 1; n <= 12; ++n)
        for (int rep = 0; rep < 5; ++rep) {
            const RCOMat a = Random(rng, n, n);
            RCOMat work = a, inv = Filled(1, 1);
            MatInverse(work, inv);
            ASSERT_EQ(MatrixError, 0);
            const RCOMat prod = PlainProduct(a, inv);
            const Extended residual = NormInf(Difference(prod, Identity(n)));
            const Extended bound = 30 * n * NormInf(a) * NormInf(inv) * kEps;
            EXPECT_LE(residual, bound) << "n=" << n << " rep=" << rep;
        }
}

// ---- Determinant --------------------------------------------------------------------------

TEST(MatDeterminant, WorkedCases) {
    struct Case {
        const char* name;
        RCOMat a;
        Extended want;
    } cases[] = {
        {"1x1", Mat({{-3.5L}}), -3.5L},
        {"row interchange", Mat({{1, 2}, {4, 3}}), -5},
        {"column interchange", Mat({{0, 1}, {1, 0}}), -1},
        {"both interchanges", Mat({{1, 2}, {3, 4}}), -2},
        {"last pivot zero", Mat({{1, 2}, {2, 4}}), 0},
        {"zero 2x2", Filled(2, 2, 0), 0},
        {"zero trailing block", Mat({{1, 0, 0}, {0, 0, 0}, {0, 0, 0}}), 0},
        {"tridiagonal", Mat({{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}}), 4},
        {"4x4 permutation", Mat({{0, 0, 0, 2}, {0, 0, 3, 0}, {0, 5, 0, 0}, {7, 0, 0, 0}}), 210},
    };
    for (auto& c : cases) {
        RCOMat a = c.a;
        const Extended d = MatDeterminant(a, static_cast<std::int32_t>(a.size()));
        EXPECT_TRUE(SameBits(d, c.want)) << c.name << ": " << static_cast<double>(d);
    }
}

// det(A·B) ≈ det(A)·det(B), and exchanging two rows negates the determinant exactly.
TEST(MatDeterminant, ProductAndRowExchangeProperties) {
    std::mt19937_64 rng(kSeed + 1);
    for (std::int32_t n = 1; n <= 12; ++n) {
        const RCOMat a = Random(rng, n, n), b = Random(rng, n, n);
        RCOMat ab = PlainProduct(a, b), wa = a, wb = b;
        const Extended da = MatDeterminant(wa, n), db = MatDeterminant(wb, n);
        const Extended dab = MatDeterminant(ab, n);
        EXPECT_LE(std::fabs(dab - da * db), 1e-12L * std::fabs(da * db) + 1e-300L) << n;
        if (n >= 2) {
            RCOMat swapped = a;
            std::swap(swapped[0], swapped[n - 1]);
            RCOMat w = a;
            const Extended d0 = MatDeterminant(w, n), d1 = MatDeterminant(swapped, n);
            EXPECT_LE(std::fabs(d0 + d1), 1e-14L * std::fabs(d0)) << n;
        }
    }
}

// ---- Rank ---------------------------------------------------------------------------------

TEST(MatRank, WorkedCases) {
    struct Case {
        const char* name;
        RCOMat a;
        Extended want;
    } cases[] = {
        {"no rows", RCOMat{}, 0},
        {"no columns", Filled(3, 0), 0},
        {"zero 2x3", Filled(2, 3, 0), 0},
        {"one element", Mat({{0, 0, 0}, {0, 0, -2}}), 1},
        {"exchange", Mat({{0, 1}, {1, 0}}), 2},
        {"exact multiplier", Mat({{1, 2}, {2, 4}}), 1},
        // The multiplier 1/3 rounded to double leaves a residue of 2^-54: it counts.
        {"residue counts", Mat({{1, 2}, {3, 6}}), 2},
        {"wide", Mat({{1, 2, 3}, {2, 4, 6}}), 1},
        {"tall", Mat({{1, 0}, {0, 1}, {1, 1}}), 2},
        {"ones", Filled(3, 3, 1), 1},
        // 2^-1100 rounds to 0 as a double: it does not count.
        {"below double range", Mat({{1, 0}, {0, 0x1p-1100L}}), 1},
    };
    for (auto& c : cases) {
        RCOMat a = c.a;
        const std::int32_t m = static_cast<std::int32_t>(a.size());
        const std::int32_t n = m == 0 ? 0 : static_cast<std::int32_t>(a[0].size());
        EXPECT_EQ(MatRank(a, m, n), c.want) << c.name;
    }
}

// Products of full-rank factors with an inner dimension k have rank k.
TEST(MatRank, ProductsOfKnownRank) {
    std::mt19937_64 rng(kSeed + 2);
    for (std::int32_t r = 1; r <= 12; ++r)
        for (std::int32_t c : {1, 5, 12})
            for (std::int32_t k = 0; k <= std::min(r, c); k += 1 + (k % 2)) {
                if (k == 0) {
                    RCOMat z = Filled(r, c, 0);
                    EXPECT_EQ(MatRank(z, r, c), 0);
                    continue;
                }
                for (bool rows : {false, true}) {
                    RCOMat a = RandomOfRank(rng, r, c, k, rows);
                    EXPECT_EQ(MatRank(a, r, c), k) << r << "x" << c << " rank " << k;
                }
            }
}

// Elements beyond the double range: no fault, and the rank of a well-formed matrix.
TEST(MatRank, HugeElementsRaiseNoFault) {
    struct Case {
        const char* name;
        RCOMat a;
        Extended want;
    } cases[] = {
        {"diagonal 1e400 and 1", Mat({{1e400L, 0}, {0, 1}}), 2},
        {"two saturated, larger second", Mat({{1e400L, 1}, {1e4000L, 2}}), 2},
        {"dependent rows near the top", Mat({{1e4932L, 5e4931L}, {-1e4932L, -5e4931L}}), 1},
        {"sum would overflow", Mat({{1e4932L, 1e4932L}, {-1e4932L, 1e4932L}}), 2},
        {"huge and small", Mat({{1e4932L, 0}, {0, 0x1p-800L}}), 2},
    };
    for (auto& c : cases) {
        std::feclearexcept(FE_ALL_EXCEPT);
        RCOMat a = c.a;
        EXPECT_EQ(MatRank(a, 2, 2), c.want) << c.name;
        EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0) << c.name;
    }
}

// ---- LU -----------------------------------------------------------------------------------

TEST(MatLU, WorkedCases) {
    struct Case {
        const char* name;
        RCOMat a, l, u;
    } cases[] = {
        {"1x1 zero", Mat({{0}}), Mat({{1}}), Mat({{0}})},
        {"2x2", Mat({{4, 3}, {6, 3}}), Mat({{1, 0}, {1.5L, 1}}), Mat({{4, 3}, {0, -1.5L}})},
        {"3x3", Mat({{2, 1, 1}, {4, 3, 3}, {8, 7, 9}}), Mat({{1, 0, 0}, {2, 1, 0}, {4, 3, 1}}),
         Mat({{2, 1, 1}, {0, 1, 1}, {0, 0, 2}})},
        {"last pivot zero", Mat({{1, 2}, {2, 4}}), Mat({{1, 0}, {2, 1}}), Mat({{1, 2}, {0, 0}})},
    };
    for (auto& c : cases) {
        const std::int32_t n = static_cast<std::int32_t>(c.a.size());
        RCOMat a = c.a, l = Filled(n, n), u = Filled(n, n);
        EXPECT_EQ(MatLU(a, l, u, n, n), 1) << c.name;
        EXPECT_TRUE(SameBits(l, c.l)) << c.name << ": " << Show(l);
        EXPECT_TRUE(SameBits(u, c.u)) << c.name << ": " << Show(u);
    }
}

TEST(MatLU, FailuresLeaveFactorsUntouched) {
    struct Case {
        const char* name;
        RCOMat a;
        std::int32_t rows, cols, status;
    } cases[] = {
        {"first pivot zero", Mat({{0, 1}, {1, 0}}), 2, 2, 0},
        {"later pivot zero", Mat({{1, 2, 3}, {2, 4, 5}, {1, 1, 1}}), 3, 3, 0},
        {"not square", Filled(2, 3, 1), 2, 3, -1},
    };
    for (auto& c : cases) {
        RCOMat a = c.a, l = Filled(3, 3), u = Filled(3, 3);
        EXPECT_EQ(MatLU(a, l, u, c.rows, c.cols), c.status) << c.name;
        EXPECT_TRUE(SameBits(l, Filled(3, 3))) << c.name;
        EXPECT_TRUE(SameBits(u, Filled(3, 3))) << c.name;
    }
    RCOMat empty, l, u;
    EXPECT_EQ(MatLU(empty, l, u, 0, 0), 1);
}

// L·U = A within 30 · n · ‖A‖ · 2^-63 (diagonally dominant, so no pivot is small).
TEST(MatLU, ReproducesRandomMatrices) {
    std::mt19937_64 rng(kSeed + 3);
    for (std::int32_t n = 1; n <= 12; ++n) {
        RCOMat a = Random(rng, n, n);
        for (std::int32_t i = 0; i < n; ++i) a[i][i] += n;
        RCOMat w = a, l = Filled(n, n), u = Filled(n, n);
        ASSERT_EQ(MatLU(w, l, u, n, n), 1);
        const Extended residual = NormInf(Difference(PlainProduct(l, u), a));
        EXPECT_LE(residual, 30 * n * NormInf(a) * kEps) << n;
    }
}

// ---- LDL' ---------------------------------------------------------------------------------

TEST(MatCholeskyLDL, WorkedCases) {
    struct Case {
        const char* name;
        RCOMat a, l, d;
    } cases[] = {
        {"1x1 negative", Mat({{-3}}), Mat({{1}}), Mat({{-3}})},
        {"1x1 zero", Mat({{0}}), Mat({{1}}), Mat({{0}})},
        {"2x2", Mat({{4, 2}, {2, 3}}), Mat({{1, 0}, {0.5L, 1}}), Mat({{4, 0}, {0, 2}})},
        {"lower triangle ignored", Mat({{4, 2}, {100, 3}}), Mat({{1, 0}, {0.5L, 1}}),
         Mat({{4, 0}, {0, 2}})},
        {"indefinite", Mat({{1, 2}, {2, 1}}), Mat({{1, 0}, {2, 1}}), Mat({{1, 0}, {0, -3}})},
        {"3x3", Mat({{1, 1, 1}, {1, 2, 2}, {1, 2, 3}}), Mat({{1, 0, 0}, {1, 1, 0}, {1, 1, 1}}),
         Identity(3)},
        {"zero pivot, zero coupling", Mat({{0, 0}, {0, 5}}), Mat({{1, 0}, {1, 1}}),
         Mat({{0, 0}, {0, 5}})},
    };
    for (auto& c : cases) {
        const std::int32_t n = static_cast<std::int32_t>(c.a.size());
        RCOMat a = c.a, l = Filled(n, n), d = Filled(n, n);
        EXPECT_TRUE(MatCholeskyLDL(a, n, l, d)) << c.name;
        EXPECT_TRUE(SameBits(l, c.l)) << c.name << ": " << Show(l);
        EXPECT_TRUE(SameBits(d, c.d)) << c.name << ": " << Show(d);
        for (std::int32_t i = 0; i < n; ++i)  // diagonal and upper triangle kept
            for (std::int32_t j = i; j < n; ++j) EXPECT_TRUE(SameBits(a[i][j], c.a[i][j]));
    }
    RCOMat empty, l, d;
    EXPECT_TRUE(MatCholeskyLDL(empty, 0, l, d));
}

TEST(MatCholeskyLDL, ZeroPivotWithCouplingFails) {
    for (RCOMat a : {Mat({{0, 1}, {1, 0}}), Mat({{1, 1, 0}, {1, 1, 2}, {0, 2, 1}})}) {
        const std::int32_t n = static_cast<std::int32_t>(a.size());
        RCOMat l = Filled(n, n), d = Filled(n, n);
        EXPECT_FALSE(MatCholeskyLDL(a, n, l, d));
        EXPECT_TRUE(SameBits(l, Filled(n, n)));
        EXPECT_TRUE(SameBits(d, Filled(n, n)));
    }
}

// The pivots and couplings are stored as doubles: an input element that is not a double is
// rounded when loaded, so D holds the rounded value.
TEST(MatCholeskyLDL, PivotsAreDoubles) {
    RCOMat a = Mat({{1 + 0x1p-60L}}), l = Filled(1, 1), d = Filled(1, 1);
    ASSERT_TRUE(MatCholeskyLDL(a, 1, l, d));
    EXPECT_EQ(d[0][0], 1.0L);
}

// L·D·Lᵀ = the symmetric matrix of A's upper triangle, within double rounding (s, v, d are
// doubles), on random matrices of sizes 1 to 12 with a dominant diagonal.
TEST(MatCholeskyLDL, ReproducesSymmetricPartOfRandomMatrices) {
    std::mt19937_64 rng(kSeed + 4);
    for (std::int32_t n = 1; n <= 12; ++n) {
        RCOMat a = Random(rng, n, n);
        for (std::int32_t i = 0; i < n; ++i) a[i][i] = n + static_cast<double>(a[i][i]);
        RCOMat sym = a;
        for (std::int32_t i = 0; i < n; ++i)
            for (std::int32_t j = 0; j < i; ++j) sym[i][j] = sym[j][i];
        RCOMat w = a, l = Filled(n, n), d = Filled(n, n), lt;
        ASSERT_TRUE(MatCholeskyLDL(w, n, l, d));
        MatTranspose(l, lt);
        const RCOMat ldlt = PlainProduct(PlainProduct(l, d), lt);
        const Extended residual = NormInf(Difference(ldlt, sym));
        EXPECT_LE(residual, 30 * n * NormInf(sym) * 0x1p-53L) << n;
    }
}

// ---- Power --------------------------------------------------------------------------------

TEST(MatPower, WorkedCases) {
    struct Case {
        const char* name;
        RCOMat a;
        std::int32_t n;
        RCOMat want;
        std::int32_t status;
    } cases[] = {
        {"zero exponent, zero matrix", Filled(2, 2, 0), 0, Identity(2), 0},
        {"first power", Mat({{1, 2}, {3, 4}}), 1, Mat({{1, 2}, {3, 4}}), 0},
        {"cube of a shear", Mat({{1, 1}, {0, 1}}), 3, Mat({{1, 3}, {0, 1}}), 0},
        {"inverse", Mat({{2, 0}, {0, 4}}), -1, Mat({{0.5L, 0}, {0, 0.25L}}), 0},
        {"inverse of square", Mat({{2, 0}, {0, 4}}), -2, Mat({{0.25L, 0}, {0, 0.0625L}}), 0},
        // Singular: the square is left in R and the status says so.
        {"singular, negative", Mat({{1, 2}, {2, 4}}), -2, Mat({{5, 10}, {10, 20}}), 3},
        {"singular, minus one", Mat({{1, 2}, {2, 4}}), -1, Filled(2, 2), 3},
    };
    for (auto& c : cases) {
        RCOMat w = Filled(2, 2), r = Filled(2, 2);
        EXPECT_EQ(MatPower(c.a, c.n, w, r), c.status) << c.name;
        EXPECT_TRUE(SameBits(r, c.want)) << c.name << ": " << Show(r);
    }
}

// Each power is the chain of plain products W·A, bit for bit.
TEST(MatPower, RepeatedProductsMatchPlainChain) {
    std::mt19937_64 rng(kSeed + 5);
    for (std::int32_t r : {1, 3, 8}) {
        const RCOMat a = Random(rng, r, r);
        RCOMat want = a;
        for (int e = 2; e <= 6; ++e) {
            want = PlainProduct(want, a);
            RCOMat w = Filled(r, r), out = Filled(r, r);
            MatPower(a, e, w, out);
            EXPECT_TRUE(SameBits(out, want)) << r << "^" << e;
            EXPECT_TRUE(SameBits(w, want)) << r << "^" << e;
        }
    }
}

// A huge exponent on a matrix that overflows stops at the first overflowing product.
TEST(MatPower, StopsAtFirstFault) {
    const RCOMat a = Mat({{1e1000L, 0}, {0, 1}});
    RCOMat w = Filled(2, 2), r = Filled(2, 2);
    std::feclearexcept(FE_ALL_EXCEPT);
    MatPower(a, 1000000000, w, r);
    EXPECT_NE(std::fetestexcept(FE_OVERFLOW), 0);
    // 1e1000^5 still fits, the next product overflows: R holds that product.
    EXPECT_TRUE(std::isinf(r[0][0]));
    EXPECT_EQ(r[1][1], 1);
    std::feclearexcept(FE_ALL_EXCEPT);
}
