// Eigenvalues of a real square matrix: balancing, reduction to Hessenberg form, and the
// shifted double-step QR iteration.
//
// The matrix and every named scalar are doubles, but each expression is evaluated in
// extended precision and rounded to double only when it is stored.  Plain double
// arithmetic in C++ on x86-64 runs in SSE double precision, so every operand is widened to
// X (long double) before it takes part in an operation; the assignment to a double then
// performs the rounding.
#include <cfenv>
#include <cmath>
#include <utility>

#include "matrix.h"

namespace {

using X = long double;

bool FaultRaised() {
    return std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO) != 0;
}

// |v| in extended (exact).
inline X Abs(double v) {
    return std::fabs(static_cast<X>(v));
}

}  // namespace

// MatBalance: balance a(1..n, 1..n) in place by a diagonal similarity transformation.
//
//   a  (n+1) x (n+1) doubles, used 1-based; rescaled in place.
//   n  order of the matrix.
//
// Passes over the indices repeat until a pass rescales nothing.  For index i the
// off-diagonal column sum c and row sum r are brought within a factor of 2 of each other by
// a power-of-2 factor f (radix 2, its square 4); row i is multiplied by 1/f and column i by
// f when that lowers c + r below 0.95 times its old value.  Every element therefore changes
// by an exact power of 2, and an index whose row or column sum is 0 is never rescaled.
// Stops early when an overflow, invalid operation or division by zero has raised the
// floating-point status flags (an inf in the sums would keep the scaling loops turning).
//
// Cost: 4*n^2 operations per pass; a few passes.
void MatBalance(matrx2& a, std::int32_t n) {
    constexpr X radix = 2;
    constexpr X sqrdx = radix * radix;
    bool last = false;
    // 1. Repeat passes until a pass changes nothing.
    while (!last) {
        if (FaultRaised()) return;
        last = true;
        // 1.1
        for (std::int32_t i = 1; i <= n; ++i) {
            // 1.1.1 Off-diagonal column and row sums.
            double c = 0.0;
            double r = 0.0;
            for (std::int32_t j = 1; j <= n; ++j) {
                if (j != i) {
                    c = static_cast<double>(static_cast<X>(c) + Abs(a[j][i]));
                    r = static_cast<double>(static_cast<X>(r) + Abs(a[i][j]));
                }
            }
            // 1.1.2 The power of 2 that brings c within a factor 2 of r.
            if (c != 0.0 && r != 0.0) {
                double g = static_cast<double>(static_cast<X>(r) / radix);
                double f = 1.0;
                const double s = static_cast<double>(static_cast<X>(c) + static_cast<X>(r));
                while (c < g) {
                    if (FaultRaised()) return;
                    f = static_cast<double>(static_cast<X>(f) * radix);
                    c = static_cast<double>(static_cast<X>(c) * sqrdx);
                }
                g = static_cast<double>(static_cast<X>(r) * radix);
                while (c > g) {
                    if (FaultRaised()) return;
                    f = static_cast<double>(static_cast<X>(f) / radix);
                    c = static_cast<double>(static_cast<X>(c) / sqrdx);
                }
                // 1.1.3 Rescale when it pays.
                if ((static_cast<X>(c) + static_cast<X>(r)) / static_cast<X>(f) <
                    0.95L * static_cast<X>(s)) {
                    last = false;
                    g = static_cast<double>(1.0L / static_cast<X>(f));
                    for (std::int32_t j = 1; j <= n; ++j)
                        a[i][j] = static_cast<double>(static_cast<X>(a[i][j]) * static_cast<X>(g));
                    for (std::int32_t j = 1; j <= n; ++j)
                        a[j][i] = static_cast<double>(static_cast<X>(a[j][i]) * static_cast<X>(f));
                }
            }
        }
    }
}

// MatHessenberg: reduce a(1..n, 1..n) to upper Hessenberg form in place by a similarity
// transformation built from Gaussian elimination with interchanges.
//
//   a  (n+1) x (n+1) doubles, used 1-based.  Out: the Hessenberg matrix on and above the
//      subdiagonal; the multipliers stay below it.
//   n  order of the matrix; nothing happens for n <= 2.
//
// For each column m-1 (m = 2..n-1) the element of largest magnitude on or below row m (the
// first of equal ones) is swapped into row m, rows and columns alike, and the elements below
// it are eliminated; the inverse transformation is applied to the columns.
//
// Cost: about (5/3)*n^3 operations.
void MatHessenberg(matrx2& a, std::int32_t n) {
    for (std::int32_t m = 2; m <= n - 1; ++m) {
        // 1. Pivot.
        double x = 0.0;
        std::int32_t i = m;
        for (std::int32_t j = m; j <= n; ++j) {
            if (Abs(a[j][m - 1]) > Abs(x)) {
                x = a[j][m - 1];
                i = j;
            }
        }
        // 2. Interchange rows and columns.
        if (i != m) {
            for (std::int32_t j = m - 1; j <= n; ++j) std::swap(a[i][j], a[m][j]);
            for (std::int32_t j = 1; j <= n; ++j) std::swap(a[j][i], a[j][m]);
        }
        // 3. Eliminate.
        if (x != 0.0) {
            for (i = m + 1; i <= n; ++i) {
                double y = a[i][m - 1];
                if (y != 0.0) {
                    y = static_cast<double>(static_cast<X>(y) / static_cast<X>(x));
                    a[i][m - 1] = y;
                    const X yx = y;
                    for (std::int32_t j = m; j <= n; ++j)
                        a[i][j] = static_cast<double>(static_cast<X>(a[i][j]) -
                                                      yx * static_cast<X>(a[m][j]));
                    for (std::int32_t j = 1; j <= n; ++j)
                        a[j][m] = static_cast<double>(static_cast<X>(a[j][m]) +
                                                      yx * static_cast<X>(a[j][i]));
                }
            }
        }
    }
}

// MatHessenbergEigen: all eigenvalues of the upper Hessenberg matrix a(1..n, 1..n).
//
//   a       (n+1) x (n+1) doubles, used 1-based; overwritten.
//   n       order, >= 1 (for n < 1 nothing is done).
//   wr, wi  at least n+1 doubles each: real and imaginary parts into entries 1..n.
//
// Shifted double-step QR iteration (Francis) that deflates one eigenvalue or one pair at a
// time from the bottom of the active block 1..nn.  Each eigenvalue lands at the position
// where it deflated; of a complex pair the one with negative imaginary part comes first;
// of a real pair position nn-1 gets x + z and nn gets x - w/z.  Exceptional shifts after 10
// and 20 fruitless iterations break cycles of the plain shift.
//
// Returns true when every eigenvalue converged; false when 30 iterations were spent on one
// eigenvalue (or pair): positions nn+1..n are then valid, and 1..nn keep what they held.
//
// Cost: about 10*n^3 operations (typically two iterations per eigenvalue).
bool MatHessenbergEigen(matrx2& a, std::int32_t n, std::vector<double>& wr,
                        std::vector<double>& wi) {
    if (n < 1) return true;
    std::int32_t nn, m, l, k, j, its, i, mmin;
    double z = 0, y = 0, x = 0, w = 0, v = 0, u = 0, t = 0, s = 0, r = 0, q = 0, p = 0, anorm = 0;

    // 1. Norm of the Hessenberg part, the fallback scale of the negligibility test.
    anorm = static_cast<double>(Abs(a[1][1]));
    for (i = 2; i <= n; ++i)
        for (j = i - 1; j <= n; ++j)
            anorm = static_cast<double>(static_cast<X>(anorm) + Abs(a[i][j]));

    // 2.
    nn = n;
    t = 0.0;
    // 3.
    while (nn >= 1) {
        its = 0;
        for (;;) {
            // 3.1 Look for a single small subdiagonal element.
            for (l = nn; l >= 2; --l) {
                s = static_cast<double>(Abs(a[l - 1][l - 1]) + Abs(a[l][l]));
                if (s == 0.0) s = anorm;
                if (Abs(a[l][l - 1]) + static_cast<X>(s) == static_cast<X>(s)) break;
            }
            // 3.2
            x = a[nn][nn];
            // 3.3 One root found.
            if (l == nn) {
                wr[nn] = static_cast<double>(static_cast<X>(x) + static_cast<X>(t));
                wi[nn] = 0.0;
                nn = nn - 1;
                break;
            }
            // 3.4
            y = a[nn - 1][nn - 1];
            w = static_cast<double>(static_cast<X>(a[nn][nn - 1]) * static_cast<X>(a[nn - 1][nn]));
            // 3.5 Two roots found.
            if (l == nn - 1) {
                p = static_cast<double>(0.5L * (static_cast<X>(y) - static_cast<X>(x)));
                q = static_cast<double>(static_cast<X>(p) * static_cast<X>(p) + static_cast<X>(w));
                z = static_cast<double>(std::sqrt(Abs(q)));
                x = static_cast<double>(static_cast<X>(x) + static_cast<X>(t));
                if (q >= 0.0) {
                    // A real pair.
                    z = static_cast<double>(p >= 0.0 ? static_cast<X>(p) + Abs(z)
                                                     : static_cast<X>(p) - Abs(z));
                    wr[nn - 1] = wr[nn] =
                        static_cast<double>(static_cast<X>(x) + static_cast<X>(z));
                    if (z != 0.0)
                        wr[nn] = static_cast<double>(static_cast<X>(x) -
                                                     static_cast<X>(w) / static_cast<X>(z));
                    wi[nn - 1] = wi[nn] = 0.0;
                } else {
                    // A complex pair.
                    wr[nn - 1] = wr[nn] =
                        static_cast<double>(static_cast<X>(x) + static_cast<X>(p));
                    wi[nn] = z;
                    wi[nn - 1] = static_cast<double>(-static_cast<X>(z));
                }
                nn = nn - 2;
                break;
            }
            // 3.6 No convergence yet.
            if (its == 30) return false;
            // 3.7 Exceptional shift.
            if (its == 10 || its == 20) {
                t = static_cast<double>(static_cast<X>(t) + static_cast<X>(x));
                for (i = 1; i <= nn; ++i)
                    a[i][i] = static_cast<double>(static_cast<X>(a[i][i]) - static_cast<X>(x));
                s = static_cast<double>(Abs(a[nn][nn - 1]) + Abs(a[nn - 1][nn - 2]));
                x = static_cast<double>(0.75L * static_cast<X>(s));
                y = x;
                w = static_cast<double>(-0.4375L * (static_cast<X>(s) * static_cast<X>(s)));
            }
            // 3.8
            ++its;
            // 3.9 Look for two consecutive small subdiagonal elements.
            for (m = nn - 2; m >= l; --m) {
                z = a[m][m];
                r = static_cast<double>(static_cast<X>(x) - static_cast<X>(z));
                s = static_cast<double>(static_cast<X>(y) - static_cast<X>(z));
                p = static_cast<double>(
                    (static_cast<X>(r) * static_cast<X>(s) - static_cast<X>(w)) /
                        static_cast<X>(a[m + 1][m]) +
                    static_cast<X>(a[m][m + 1]));
                q = static_cast<double>(static_cast<X>(a[m + 1][m + 1]) - static_cast<X>(z) -
                                        static_cast<X>(r) - static_cast<X>(s));
                r = a[m + 2][m + 1];
                s = static_cast<double>(Abs(p) + Abs(q) + Abs(r));
                p = static_cast<double>(static_cast<X>(p) / static_cast<X>(s));
                q = static_cast<double>(static_cast<X>(q) / static_cast<X>(s));
                r = static_cast<double>(static_cast<X>(r) / static_cast<X>(s));
                if (m == l) break;
                u = static_cast<double>(Abs(a[m][m - 1]) * (Abs(q) + Abs(r)));
                v = static_cast<double>(Abs(p) *
                                        (Abs(a[m - 1][m - 1]) + Abs(z) + Abs(a[m + 1][m + 1])));
                if (static_cast<X>(u) + static_cast<X>(v) == static_cast<X>(v)) break;
            }
            // 3.10
            for (i = m + 2; i <= nn; ++i) {
                a[i][i - 2] = 0.0;
                if (i != m + 2) a[i][i - 3] = 0.0;
            }
            // 3.11 Double QR step on rows l..nn and columns m..nn.
            for (k = m; k <= nn - 1; ++k) {
                // 3.11.1 The Householder vector of this column.
                if (k != m) {
                    p = a[k][k - 1];
                    q = a[k + 1][k - 1];
                    r = 0.0;
                    if (k != nn - 1) r = a[k + 2][k - 1];
                    x = static_cast<double>(Abs(p) + Abs(q) + Abs(r));
                    if (x != 0.0) {
                        p = static_cast<double>(static_cast<X>(p) / static_cast<X>(x));
                        q = static_cast<double>(static_cast<X>(q) / static_cast<X>(x));
                        r = static_cast<double>(static_cast<X>(r) / static_cast<X>(x));
                    }
                }
                // 3.11.2
                s = static_cast<double>(std::sqrt(static_cast<X>(p) * static_cast<X>(p) +
                                                  static_cast<X>(q) * static_cast<X>(q) +
                                                  static_cast<X>(r) * static_cast<X>(r)));
                if (p < 0.0) s = -s;
                if (s == 0.0) continue;
                // 3.11.3
                if (k == m) {
                    if (l != m) a[k][k - 1] = -a[k][k - 1];
                } else {
                    a[k][k - 1] = static_cast<double>(-static_cast<X>(s) * static_cast<X>(x));
                }
                // 3.11.4
                p = static_cast<double>(static_cast<X>(p) + static_cast<X>(s));
                x = static_cast<double>(static_cast<X>(p) / static_cast<X>(s));
                y = static_cast<double>(static_cast<X>(q) / static_cast<X>(s));
                z = static_cast<double>(static_cast<X>(r) / static_cast<X>(s));
                q = static_cast<double>(static_cast<X>(q) / static_cast<X>(p));
                r = static_cast<double>(static_cast<X>(r) / static_cast<X>(p));
                // 3.11.5 Row modification.
                for (j = k; j <= nn; ++j) {
                    p = static_cast<double>(static_cast<X>(a[k][j]) +
                                            static_cast<X>(q) * static_cast<X>(a[k + 1][j]));
                    if (k != nn - 1) {
                        p = static_cast<double>(static_cast<X>(p) +
                                                static_cast<X>(r) * static_cast<X>(a[k + 2][j]));
                        a[k + 2][j] = static_cast<double>(static_cast<X>(a[k + 2][j]) -
                                                          static_cast<X>(p) * static_cast<X>(z));
                    }
                    a[k + 1][j] = static_cast<double>(static_cast<X>(a[k + 1][j]) -
                                                      static_cast<X>(p) * static_cast<X>(y));
                    a[k][j] = static_cast<double>(static_cast<X>(a[k][j]) -
                                                  static_cast<X>(p) * static_cast<X>(x));
                }
                // 3.11.6 Column modification.
                mmin = nn < k + 3 ? nn : k + 3;
                for (i = l; i <= mmin; ++i) {
                    p = static_cast<double>(static_cast<X>(x) * static_cast<X>(a[i][k]) +
                                            static_cast<X>(y) * static_cast<X>(a[i][k + 1]));
                    if (k != nn - 1) {
                        p = static_cast<double>(static_cast<X>(p) +
                                                static_cast<X>(z) * static_cast<X>(a[i][k + 2]));
                        a[i][k + 2] = static_cast<double>(static_cast<X>(a[i][k + 2]) -
                                                          static_cast<X>(p) * static_cast<X>(r));
                    }
                    a[i][k + 1] = static_cast<double>(static_cast<X>(a[i][k + 1]) -
                                                      static_cast<X>(p) * static_cast<X>(q));
                    a[i][k] = static_cast<double>(static_cast<X>(a[i][k]) - static_cast<X>(p));
                }
            }
            // 3.12 Next iteration on the same block.
        }
    }
    return true;
}
