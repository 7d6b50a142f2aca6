// The elimination routines against plain, step-by-step transcriptions of their algorithms:
// same pivots, same interchanges, same operations, so the results must agree bit for bit.
// Integer matrices with many equal magnitudes exercise the first-maximum rules of the pivot
// searches; random real matrices exercise the rounding.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "matrix.h"
#include "matrix_test_util.h"

using namespace qm_test;

namespace {

Extended PlainDeterminant(RCOMat A, int n) {
    Extended product = 1;
    int sign = 1;
    for (int k = 0; k <= n - 2; ++k) {
        Extended big = 0;
        int pr = k, pc = k;
        for (int i = k; i < n; ++i)
            for (int j = k; j < n; ++j)
                if (std::fabs(A[i][j]) > big) big = std::fabs(A[i][j]), pr = i, pc = j;
        if (big == 0) return 0;
        if (pr != k) {
            for (int j = k; j < n; ++j) std::swap(A[k][j], A[pr][j]);
            sign = -sign;
        }
        if (pc != k) {
            for (int i = k; i < n; ++i) std::swap(A[i][k], A[i][pc]);
            sign = -sign;
        }
        product = product * A[k][k];
        for (int i = k + 1; i < n; ++i) {
            const Extended f = A[i][k] / A[k][k];
            for (int j = k + 1; j < n; ++j) A[i][j] = A[i][j] - f * A[k][j];
        }
    }
    return (static_cast<Extended>(sign) * product) * A[n - 1][n - 1];
}

Extended PlainRank(RCOMat A, int m, int c) {
    int count = 0;
    const int limit = m >= c ? c : m;
    for (int k = 0; k < limit; ++k) {
        double big = 0;
        int pr = k, pc = k;
        for (int i = k; i < m; ++i)
            for (int j = k; j < c; ++j)
                if (static_cast<double>(std::fabs(A[i][j])) > big)
                    big = static_cast<double>(std::fabs(A[i][j])), pr = i, pc = j;
        if (big == 0) break;
        ++count;
        if (k == limit - 1) break;
        if (pr != k)
            for (int j = k; j < c; ++j) std::swap(A[k][j], A[pr][j]);
        if (pc != k)
            for (int i = k; i < m; ++i) std::swap(A[i][k], A[i][pc]);
        for (int i = k + 1; i < m; ++i) {
            const double f = static_cast<double>(A[i][k] / A[k][k]);
            for (int j = k + 1; j < c; ++j) A[i][j] = A[i][j] - A[k][j] * f;
        }
    }
    return count;
}

// Returns the status; Result written on success.
int PlainInverse(RCOMat A, RCOMat& Result) {
    const int n = static_cast<int>(A.size());
    std::vector<int> co(n), ro(n);
    for (int i = 0; i < n; ++i) co[i] = ro[i] = i;
    for (int k = 0; k <= n - 2; ++k) {
        Extended big = std::fabs(A[k][k]);
        int pr = k, pc = k;
        for (int i = k; i < n; ++i)
            for (int j = k; j < n; ++j)
                if (std::fabs(A[i][j]) > big) big = std::fabs(A[i][j]), pr = i, pc = j;
        if (big == 0) return 3;
        if (pc != k) {
            for (int i = 0; i < n; ++i) std::swap(A[i][k], A[i][pc]);
            std::swap(co[k], co[pc]);
        }
        if (pr != k) {
            for (int j = 0; j < n; ++j) std::swap(A[k][j], A[pr][j]);
            std::swap(ro[k], ro[pr]);
        }
        const Extended p = A[k][k];
        for (int j = k + 1; j < n; ++j) {
            const Extended f = A[j][k] / p;
            for (int c = k + 1; c < n; ++c) A[j][c] = A[j][c] - f * A[k][c];
            for (int c = 0; c < k; ++c) A[j][c] = A[j][c] - f * A[k][c];
            A[j][k] = -f;
        }
    }
    for (int i = 0; i < n; ++i)
        if (A[i][i] == 0) return 3;
    Result = Filled(n, n, 0);
    RCOVec b(n), y(n);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) b[i] = i == j ? 1 : 0;
        for (int i = n - 1; i >= 0; --i) {
            Extended s = b[ro[i]];
            for (int c = 0; c < i; ++c) s = s + A[i][c] * b[ro[c]];
            for (int c = i + 1; c < n; ++c) s = s - A[i][c] * y[c];
            y[i] = s / A[i][i];
        }
        for (int i = 0; i < n; ++i) b[co[i]] = y[i];
        for (int i = 0; i < n; ++i) Result[i][j] = b[i];
    }
    return 0;
}

bool PlainLDL(RCOMat A, int n, RCOMat& L, RCOMat& D) {
    std::vector<double> d(n), v(n);
    for (int i = 0; i < n; ++i) {
        double s = static_cast<double>(A[i][i]);
        for (int j = 0; j < i; ++j) {
            v[j] = static_cast<double>(A[j][i]);
            for (int k = 0; k < j; ++k)
                v[j] = static_cast<double>(v[j] - A[j][k] * static_cast<Extended>(v[k]));
            if (d[j] != 0)
                A[i][j] = static_cast<Extended>(v[j]) / static_cast<Extended>(d[j]);
            else if (v[j] != 0)
                return false;
            else
                A[i][j] = 1;
            s = static_cast<double>(s - A[i][j] * static_cast<Extended>(v[j]));
        }
        d[i] = s;
    }
    L = Filled(n, n, 0);
    D = Filled(n, n, 0);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < i; ++j) L[i][j] = A[i][j];
        L[i][i] = 1;
        D[i][i] = d[i];
    }
    return true;
}

RCOMat SmallIntegers(std::mt19937_64& rng, int r, int c) {
    std::uniform_int_distribution<int> u(-2, 2);
    RCOMat M = Filled(r, c, 0);
    for (auto& row : M)
        for (auto& v : row) v = u(rng);
    return M;
}

struct Source {
    const char* name;
    RCOMat (*make)(std::mt19937_64&, int, int);
};
const Source kSources[] = {{"small integers", SmallIntegers}, {"random reals", Random}};

}  // namespace

TEST(EliminationAgainstPlainAlgorithm, DeterminantInverseRankLDL) {
    std::mt19937_64 rng(77);
    for (const auto& src : kSources)
        for (int n = 1; n <= 12; ++n)
            for (int rep = 0; rep < 8; ++rep) {
                const RCOMat a = src.make(rng, n, n);
                RCOMat w = a;
                EXPECT_TRUE(SameBits(MatDeterminant(w, n), PlainDeterminant(a, n)))
                    << src.name << " det n=" << n;

                RCOMat inv = Filled(1, 1), want = Filled(1, 1);
                w = a;
                MatInverse(w, inv);
                const int status = PlainInverse(a, want);
                EXPECT_EQ(MatrixError, status) << src.name << " inv n=" << n;
                EXPECT_TRUE(SameBits(inv, want)) << src.name << " inv n=" << n;

                RCOMat l = Filled(n, n), d = Filled(n, n), lw, dw;
                w = a;
                const bool ok = MatCholeskyLDL(w, n, l, d);
                EXPECT_EQ(ok, PlainLDL(a, n, lw, dw)) << src.name << " ldl n=" << n;
                if (ok) {
                    EXPECT_TRUE(SameBits(l, lw) && SameBits(d, dw)) << src.name << " ldl n=" << n;
                }
            }
    for (const auto& src : kSources)
        for (int m = 1; m <= 12; m += 1)
            for (int c : {1, 2, 5, 9, 12})
                for (int rep = 0; rep < 4; ++rep) {
                    const RCOMat a = src.make(rng, m, c);
                    RCOMat w = a;
                    EXPECT_EQ(MatRank(w, m, c), PlainRank(a, m, c))
                        << src.name << " rank " << m << "x" << c;
                }
}
