// LDL' factorisation (Cholesky's method without square roots).
#include <algorithm>
#include <vector>

#include "matrix.h"

// MatCholeskyLDL(A, n, L, D): A n x n; its diagonal and upper triangle are read and left as
// they are, its strict lower triangle receives the multipliers of L.  L and D n x n, sized
// by the caller, written only on success.  For each row i:
//   s = A[i][i]; for j = 0 .. i-1:
//     v[j] = A[j][i]; v[j] = v[j] - A[j][k] * v[k] for k = 0 .. j-1;
//     d[j] != 0: A[i][j] = v[j] / d[j];  else v[j] != 0: fail;  else A[i][j] = 1;
//     s = s - A[i][j] * v[j];
//   d[i] = s.
// s, v and d hold doubles: elements are converted to double when loaded into them, and
// every difference is rounded to double when stored; products and quotients are formed in
// 80 bits, and the multipliers in A keep 80 bits.  Returns false (L, D untouched) when a zero
// pivot meets a non-zero coupling, else writes L (unit lower) and D (diagonal) and returns
// true.  Cost: about n^3/6 multiply-subtracts; two vectors of n doubles.
bool MatCholeskyLDL(RCOMat& A, std::int32_t n, RCOMat& L, RCOMat& D) {
    std::vector<double> d(static_cast<std::size_t>(n)), v(static_cast<std::size_t>(n));
    constexpr std::int32_t kGroup = 4;
    for (std::int32_t i = 0; i < n; ++i) {
        Extended* ai = A[i].data();
        double s = static_cast<double>(ai[i]);
        // The couplings v[j] are formed kGroup at a time: their sums over the columns k
        // before the group are independent chains that share the load of v[k]; inside the
        // group each v[j] then takes its remaining terms in increasing k as before.
        for (std::int32_t j0 = 0; j0 < i; j0 += kGroup) {
            const std::int32_t g = std::min(kGroup, i - j0);
            if (g == kGroup) {
                const Extended* l0 = A[j0].data();
                const Extended* l1 = A[j0 + 1].data();
                const Extended* l2 = A[j0 + 2].data();
                const Extended* l3 = A[j0 + 3].data();
                double v0 = static_cast<double>(l0[i]);
                double v1 = static_cast<double>(l1[i]);
                double v2 = static_cast<double>(l2[i]);
                double v3 = static_cast<double>(l3[i]);
                for (std::int32_t k = 0; k < j0; ++k) {
                    const Extended vk = v[k];
                    v0 = static_cast<double>(v0 - l0[k] * vk);
                    v1 = static_cast<double>(v1 - l1[k] * vk);
                    v2 = static_cast<double>(v2 - l2[k] * vk);
                    v3 = static_cast<double>(v3 - l3[k] * vk);
                }
                v[j0] = v0;
                v[j0 + 1] = v1;
                v[j0 + 2] = v2;
                v[j0 + 3] = v3;
            } else {
                for (std::int32_t t = 0; t < g; ++t) {
                    const Extended* lj = A[j0 + t].data();
                    double vj = static_cast<double>(lj[i]);
                    for (std::int32_t k = 0; k < j0; ++k)
                        vj = static_cast<double>(vj - lj[k] * static_cast<Extended>(v[k]));
                    v[j0 + t] = vj;
                }
            }
            for (std::int32_t j = j0; j < j0 + g; ++j) {
                const Extended* lj = A[j].data();
                double vj = v[j];
                for (std::int32_t k = j0; k < j; ++k)
                    vj = static_cast<double>(vj - lj[k] * static_cast<Extended>(v[k]));
                v[j] = vj;
                if (d[j] != 0.0) {
                    ai[j] = static_cast<Extended>(vj) / static_cast<Extended>(d[j]);
                } else if (vj != 0.0) {
                    return false;
                } else {
                    ai[j] = 1.0L;
                }
                s = static_cast<double>(s - ai[j] * static_cast<Extended>(vj));
            }
        }
        d[i] = s;
    }
    for (std::int32_t i = 0; i < n; ++i) {
        const Extended* a = A[i].data();
        Extended* l = L[i].data();
        Extended* dd = D[i].data();
        for (std::int32_t j = 0; j < n; ++j) {
            l[j] = j < i ? a[j] : (j == i ? 1.0L : 0.0L);
            dd[j] = j == i ? static_cast<Extended>(d[i]) : 0.0L;
        }
    }
    return true;
}
