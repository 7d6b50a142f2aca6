// LU factorisation without pivoting.
#include "elimination_kernels.h"
#include "matrix.h"

// MatLU(A, L, U, n, m): A n x m, overwritten (multipliers below the diagonal, U on and above
// it); L and U sized by the caller to at least n x n, their leading n x n blocks written on
// success only.
//   1. n != m: return -1.
//   2. For k = 0 .. n-2: A[k][k] exactly 0: return 0; A[i][k] = A[i][k] / A[k][k] for i > k;
//      A[i][j] = A[i][j] - A[i][k] * A[k][j] for i, j > k.
//   3. L = unit lower triangle of A, U = upper triangle of A (diagonal included).
//   4. Return 1.
// The last diagonal element is never tested, so U[n-1][n-1] may be 0.
// Cost: about n^3/3 multiply-subtracts, four rows updated per pass over the pivot row.
std::int32_t MatLU(RCOMat& A, RCOMat& L, RCOMat& U, std::int32_t n, std::int32_t m) {
    if (n != m) return -1;
    for (std::int32_t k = 0; k <= n - 2; ++k) {
        const Extended* p = A[k].data();
        const Extended pivot = p[k];
        if (pivot == 0.0L) return 0;
        for (std::int32_t i = k + 1; i < n; ++i) A[i][k] = A[i][k] / pivot;
        std::int32_t i = k + 1;
        for (; i + 3 < n; i += 4)
            qm_detail::SubtractMultiple4(A[i].data(), A[i + 1].data(), A[i + 2].data(),
                                         A[i + 3].data(), p, A[i][k], A[i + 1][k], A[i + 2][k],
                                         A[i + 3][k], k + 1, n);
        for (; i < n; ++i) qm_detail::SubtractMultiple(A[i].data(), p, A[i][k], k + 1, n);
    }
    for (std::int32_t i = 0; i < n; ++i) {
        const Extended* a = A[i].data();
        Extended* l = L[i].data();
        Extended* u = U[i].data();
        for (std::int32_t j = 0; j < i; ++j) {
            l[j] = a[j];
            u[j] = 0.0L;
        }
        l[i] = 1.0L;
        u[i] = a[i];
        for (std::int32_t j = i + 1; j < n; ++j) {
            l[j] = 0.0L;
            u[j] = a[j];
        }
    }
    return 1;
}
