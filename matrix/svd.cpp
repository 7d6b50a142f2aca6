// Singular value decomposition: Householder bidiagonalisation followed by the implicitly
// shifted QR iteration on the bidiagonal matrix (Golub-Kahan).
#include <algorithm>
#include <cfenv>
#include <cmath>
#include <utility>

#include "matrix.h"

namespace {

struct Rotation {
    Extended c, s, r;
};

// MakeRotation (a, b): the plane rotation that maps (a, b) onto (r, 0).  r = sqrt(a^2 + b^2)
// without scaling, signed like the larger of a and b (b on a tie, a zero counting as
// positive); c = a / r, s = b / r.  a = b = 0 gives c = 1, s = 0, r = 0.
Rotation MakeRotation(Extended a, Extended b) {
    if (std::fabs(a) + std::fabs(b) == 0) return {1, 0, 0};
    const Extended roe = std::fabs(a) > std::fabs(b) ? a : b;
    Extended r = std::sqrt(a * a + b * b);
    if (roe < 0) r = -r;
    return {a / r, b / r, r};
}

// ApplyRotation (x, y, c, s) over two vectors of length len, element by element:
// t = c*x + s*y; y = -s*x + c*y; x = t.  The identity rotation is skipped.
void ApplyRotation(Extended* x, Extended* y, std::int32_t len, Extended c, Extended s) {
    if (c == 1 && s == 0) return;
    for (std::int32_t i = 0; i < len; ++i) {
        const Extended t = c * x[i] + s * y[i];
        y[i] = -s * x[i] + c * y[i];
        x[i] = t;
    }
}

bool FaultRaised() {
    return std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO) != 0;
}

}  // namespace

// MatSVD: A = U*S*V.
//
//   A    m x n, in: the matrix; out: S.  S(i, i) = s_i for i = 1..k, k = min(m, n), in
//        decreasing order, S(i, i+1) = e_i for i = 1..k-1 (and S(k, k+1) = e_k when m < n),
//        every other element 0.  After a converged call every e_i is 0.
//   U    m x m, sized by the caller: columns 1..min(m, n) receive the left singular vectors.
//        Column m is cleared; when m > n, columns n+1..m-1 are not touched.
//   V    n x n, sized by the caller: receives the right singular vectors as rows (V is
//        returned transposed), so that A = U*S*V.
//   eps  relative tolerance of the negligibility tests (the commands pass 1e-15).
//   m, n rows and columns of A, both >= 1 (otherwise nothing is done and 1 is returned).
//
// Returns 1 when every singular value converged, 0 when 60 QR steps were spent on one
// singular value without convergence (A then holds the current s and e, U and V the
// current vectors).  It also returns 0, leaving the partial result the same way, as soon as
// an overflow, invalid operation or division by zero has raised the floating-point status
// flags, which the caller clears beforehand and reports; so the iteration ends on any
// input.  All arithmetic is extended.
//
// The steps are numbered and written 1-based as the algorithm is usually stated: A(i, j),
// U(i, j), V(i, j) are row i, column j.  While the routine runs, A and U live in transposed
// 1-based working copies (a[j][i] = A(i, j), u[j][i] = U(i, j)) and V is built straight
// into the caller's matrix transposed (V[j-1][i-1] = V(i, j)), so that every column
// operation runs over contiguous memory; the final transpose of V is then already done.
// None of this changes a single value.
//
// Cost: about 4*m*n^2 - 4*n^3/3 operations for the bidiagonalisation, 4*m^2*n for U and
// 4*n^3/3 for V, then O(n) per QR step plus 6*(m + n) per rotation, typically 2 to 3 steps
// per singular value.
std::int32_t MatSVD(RCOMat& A, RCOMat& U, RCOMat& V, Extended eps, std::int32_t m, std::int32_t n) {
    if (m < 1 || n < 1) return 1;

    const std::int32_t ncu = std::min(m, n);
    const auto rows = [](std::int32_t count) { return static_cast<std::size_t>(count); };

    // 1. Entry: column m of U is cleared (here: when the result is written, since the
    //    columns that are generated are kept in u meanwhile).
    const std::int32_t nct = std::min(m - 1, n);
    const std::int32_t nrt = std::max(0, std::min(n - 2, m));
    const std::int32_t lu = std::max(nct, nrt);
    const std::int32_t len = std::max(m, n) + 1;
    RCOVec s(rows(len)), e(rows(len)), w(rows(len));

    RCOMat a(rows(n + 1), RCOVec(rows(m + 1)));
    for (std::int32_t i = 1; i <= m; ++i)
        for (std::int32_t j = 1; j <= n; ++j) a[j][i] = A[i - 1][j - 1];
    RCOMat u(rows(ncu + 1), RCOVec(rows(m + 1)));
    const auto Vcol = [&V](std::int32_t j) { return V[j - 1].data(); };  // V(i, j) = Vcol(j)[i-1]

    // 2. Bidiagonalisation.
    for (std::int32_t l = 1; l <= lu; ++l) {
        Extended* al = a[l].data();
        // 2.1 Column transformation.
        if (l <= nct) {
            Extended sum = 0;
            for (std::int32_t i = l; i <= m; ++i) sum = sum + al[i] * al[i];
            s[l] = std::sqrt(sum);
            if (s[l] != 0) {
                if (al[l] != 0) s[l] = al[l] < 0 ? -std::fabs(s[l]) : std::fabs(s[l]);
                for (std::int32_t i = l; i <= m; ++i) al[i] = al[i] / s[l];
                al[l] = al[l] + 1;
            }
            s[l] = -s[l];
        }
        // 2.2 Apply it to the columns right of l, and pick up row l.
        //     Four columns at a time: their sums are independent chains that overlap.
        if (l <= nct && s[l] != 0) {
            std::int32_t j = l + 1;
            for (; j + 3 <= n; j += 4) {
                Extended* a0 = a[j].data();
                Extended* a1 = a[j + 1].data();
                Extended* a2 = a[j + 2].data();
                Extended* a3 = a[j + 3].data();
                Extended sum0 = 0, sum1 = 0, sum2 = 0, sum3 = 0;
                for (std::int32_t i = l; i <= m; ++i) {
                    const Extended ali = al[i];
                    sum0 = sum0 + ali * a0[i];
                    sum1 = sum1 + ali * a1[i];
                    sum2 = sum2 + ali * a2[i];
                    sum3 = sum3 + ali * a3[i];
                }
                const Extended t0 = -sum0 / al[l], t1 = -sum1 / al[l];
                const Extended t2 = -sum2 / al[l], t3 = -sum3 / al[l];
                for (std::int32_t i = l; i <= m; ++i) {
                    const Extended ali = al[i];
                    a0[i] = a0[i] + t0 * ali;
                    a1[i] = a1[i] + t1 * ali;
                    a2[i] = a2[i] + t2 * ali;
                    a3[i] = a3[i] + t3 * ali;
                }
            }
            for (; j <= n; ++j) {
                Extended* aj = a[j].data();
                Extended sum = 0;
                for (std::int32_t i = l; i <= m; ++i) sum = sum + al[i] * aj[i];
                const Extended t = -sum / al[l];
                for (std::int32_t i = l; i <= m; ++i) aj[i] = aj[i] + t * al[i];
            }
        }
        for (std::int32_t j = l + 1; j <= n; ++j) e[j] = a[j][l];
        // 2.3 Keep the transformation for generating U.
        if (l <= nct)
            for (std::int32_t i = l; i <= m; ++i) u[l][i] = al[i];
        // 2.4 Row transformation.
        if (l <= nrt) {
            Extended sum = 0;
            for (std::int32_t j = l + 1; j <= n; ++j) sum = sum + e[j] * e[j];
            e[l] = std::sqrt(sum);
            if (e[l] != 0) {
                if (e[l + 1] != 0) e[l] = e[l + 1] < 0 ? -std::fabs(e[l]) : std::fabs(e[l]);
                for (std::int32_t j = l + 1; j <= n; ++j) e[j] = e[j] / e[l];
                e[l + 1] = e[l + 1] + 1;
            }
            e[l] = -e[l];
            if (l + 1 <= m && e[l] != 0) {
                for (std::int32_t i = l + 1; i <= m; ++i) w[i] = 0;
                // Four columns per sweep over w: each w_i still adds its terms in
                // increasing j.
                std::int32_t j = l + 1;
                for (; j + 3 <= n; j += 4) {
                    const Extended* a0 = a[j].data();
                    const Extended* a1 = a[j + 1].data();
                    const Extended* a2 = a[j + 2].data();
                    const Extended* a3 = a[j + 3].data();
                    const Extended e0 = e[j], e1 = e[j + 1], e2 = e[j + 2], e3 = e[j + 3];
                    for (std::int32_t i = l + 1; i <= m; ++i)
                        w[i] = (((w[i] + e0 * a0[i]) + e1 * a1[i]) + e2 * a2[i]) + e3 * a3[i];
                }
                for (; j <= n; ++j) {
                    const Extended* aj = a[j].data();
                    for (std::int32_t i = l + 1; i <= m; ++i) w[i] = w[i] + e[j] * aj[i];
                }
                for (std::int32_t j = l + 1; j <= n; ++j) {
                    Extended* aj = a[j].data();
                    for (std::int32_t i = l + 1; i <= m; ++i)
                        aj[i] = aj[i] - w[i] * e[j] / e[l + 1];
                }
            }
            Extended* vl = Vcol(l);
            for (std::int32_t i = l + 1; i <= n; ++i) vl[i - 1] = e[i];
        }
    }

    // 3. The bidiagonal matrix of order p.
    std::int32_t p = std::min(n, m + 1);
    if (nct < n) s[nct + 1] = a[nct + 1][nct + 1];
    if (m < p) s[p] = 0;
    if (nrt + 1 < p) e[nrt + 1] = a[p][nrt + 1];
    e[p] = 0;

    // 4. Generate U in columns 1..ncu.
    for (std::int32_t j = nct + 1; j <= ncu; ++j) {
        std::fill(u[j].begin(), u[j].end(), 0.0L);
        u[j][j] = 1;
    }
    for (std::int32_t l = nct; l >= 1; --l) {
        Extended* ul = u[l].data();
        if (s[l] != 0) {
            for (std::int32_t j = l + 1; j <= ncu; ++j) {
                Extended* uj = u[j].data();
                Extended sum = 0;
                for (std::int32_t i = l; i <= m; ++i) sum = sum + ul[i] * uj[i] / ul[l];
                const Extended t = -sum;
                for (std::int32_t i = l; i <= m; ++i) uj[i] = uj[i] + t * ul[i];
            }
            for (std::int32_t i = l; i <= m; ++i) ul[i] = -ul[i];
            ul[l] = ul[l] + 1;
            for (std::int32_t i = 1; i <= l - 1; ++i) ul[i] = 0;
        } else {
            std::fill(u[l].begin(), u[l].end(), 0.0L);
            ul[l] = 1;
        }
    }

    // 5. Generate V.
    for (std::int32_t l = n; l >= 1; --l) {
        Extended* vl = Vcol(l);
        if (l <= nrt && e[l] != 0) {
            for (std::int32_t j = l + 1; j <= n; ++j) {
                Extended* vj = Vcol(j);
                Extended sum = 0;
                for (std::int32_t i = l + 1; i <= n; ++i) sum = sum + vl[i - 1] * vj[i - 1] / vl[l];
                const Extended t = -sum;
                for (std::int32_t i = l + 1; i <= n; ++i) vj[i - 1] = vj[i - 1] + t * vl[i - 1];
            }
        }
        for (std::int32_t i = 1; i <= n; ++i) vl[i - 1] = 0;
        vl[l - 1] = 1;
    }

    // 6.
    for (std::int32_t i = 0; i < m; ++i)
        for (std::int32_t j = 0; j < n; ++j) A[i][j] = 0;
    const std::int32_t mm = p;
    std::int32_t budget = 60;

    // 8. Write the result: S into A, the generated columns of U (and the cleared column m).
    //    V is already transposed.
    const auto writeResult = [&] {
        const std::int32_t k = ncu;
        for (std::int32_t i = 1; i <= k - 1; ++i) {
            A[i - 1][i - 1] = s[i];
            A[i - 1][i] = e[i];
        }
        A[k - 1][k - 1] = s[k];
        if (m < n) A[k - 1][k] = e[k];
        for (std::int32_t i = 1; i <= m; ++i) {
            U[i - 1][m - 1] = 0;
            for (std::int32_t j = 1; j <= ncu; ++j) U[i - 1][j - 1] = u[j][i];
        }
    };

    // 7. Main loop.
    for (;;) {
        // 7.1
        if (p == 0) {
            writeResult();
            return 1;
        }
        // 7.2 The budget of this singular value is spent, or a fault left inf/NaN behind.
        if (budget == 0 || FaultRaised()) {
            writeResult();
            return 0;
        }
        // 7.3 Search for a negligible superdiagonal element.
        std::int32_t l = p - 1;
        while (l != 0 && e[l] != 0) {
            if (std::fabs(e[l]) <= eps * (std::fabs(s[l]) + std::fabs(s[l + 1])))
                e[l] = 0;
            else
                l = l - 1;
        }
        // 7.4 Convergence: s_p is final; make it non-negative and sort it into place.
        if (l == p - 1) {
            if (s[p] < 0) {
                s[p] = -s[p];
                Extended* vp = Vcol(p);
                for (std::int32_t i = 0; i < n; ++i) vp[i] = -vp[i];
            }
            l = p;
            while (l != mm && s[l] < s[l + 1]) {
                std::swap(s[l], s[l + 1]);
                if (l < n) std::swap(V[l - 1], V[l]);
                if (l < m) std::swap(u[l], u[l + 1]);
                l = l + 1;
            }
            budget = 60;
            p = p - 1;
            continue;
        }
        // 7.5 Search for a negligible diagonal element between l and p.
        std::int32_t ls = p;
        while (ls > l && s[ls] != 0) {
            const Extended test =
                (ls != p ? std::fabs(e[ls]) : 0.0L) + (ls != l + 1 ? std::fabs(e[ls - 1]) : 0.0L);
            if (std::fabs(s[ls]) <= eps * test)
                s[ls] = 0;
            else
                ls = ls - 1;
        }
        if (ls == l) {
            // 7.6 One QR step on the block l+1..p.
            l = l + 1;
            // 7.6.1
            const Extended scale =
                std::max({std::fabs(s[p]), std::fabs(s[p - 1]), std::fabs(e[p - 1]),
                          std::fabs(s[l]), std::fabs(e[l])});
            const Extended sm = s[p] / scale;
            const Extended smm1 = s[p - 1] / scale;
            const Extended emm1 = e[p - 1] / scale;
            const Extended sl = s[l] / scale;
            const Extended el = e[l] / scale;
            // 7.6.2 The shift.
            const Extended b = ((smm1 + sm) * (smm1 - sm) + emm1 * emm1) / 2;
            const Extended smemm1 = sm * emm1;
            const Extended q = smemm1 * smemm1;
            Extended shift = 0;
            if (b != 0 || q != 0) {
                shift = std::sqrt(b * b + q);
                if (b < 0) shift = -shift;
                shift = q / (b + shift);
            }
            // 7.6.3
            Extended f = (sl + sm) * (sl - sm) - shift;
            Extended g = sl * el;
            // 7.6.4 Chase the bulge.
            for (std::int32_t k = l; k <= p - 1; ++k) {
                Rotation rot = MakeRotation(f, g);
                if (k != l) e[k - 1] = rot.r;
                f = rot.c * s[k] + rot.s * e[k];
                e[k] = rot.c * e[k] - rot.s * s[k];
                g = rot.s * s[k + 1];
                s[k + 1] = rot.c * s[k + 1];
                ApplyRotation(Vcol(k), Vcol(k + 1), n, rot.c, rot.s);

                rot = MakeRotation(f, g);
                s[k] = rot.r;
                f = rot.c * e[k] + rot.s * s[k + 1];
                s[k + 1] = -rot.s * e[k] + rot.c * s[k + 1];
                g = rot.s * e[k + 1];
                e[k + 1] = rot.c * e[k + 1];
                if (k < m) ApplyRotation(u[k].data() + 1, u[k + 1].data() + 1, m, rot.c, rot.s);
            }
            // 7.6.5
            e[p - 1] = f;
            budget = budget - 1;
        } else if (ls == p) {
            // 7.7 Deflate the negligible s_p.
            l = l + 1;
            Extended f = e[p - 1];
            e[p - 1] = 0;
            for (std::int32_t k = p - 1; k >= l; --k) {
                const Rotation rot = MakeRotation(s[k], f);
                s[k] = rot.r;
                if (k != l) {
                    f = -rot.s * e[k - 1];
                    e[k - 1] = rot.c * e[k - 1];
                }
                ApplyRotation(Vcol(k), Vcol(p), n, rot.c, rot.s);
            }
        } else {
            // 7.8 Split at the negligible s_ls.
            l = ls + 1;
            Extended f = e[l - 1];
            e[l - 1] = 0;
            for (std::int32_t k = l; k <= p; ++k) {
                const Rotation rot = MakeRotation(s[k], f);
                s[k] = rot.r;
                f = -rot.s * e[k];
                e[k] = rot.c * e[k];
                // k <= p <= m here: a split never happens while p = m+1 (s_{m+1} is then 0).
                if (k <= ncu) ApplyRotation(u[k].data() + 1, u[l - 1].data() + 1, m, rot.c, rot.s);
            }
        }
    }
}
