// Determinant by Gaussian elimination with complete pivoting.
#include <cmath>
#include <vector>

#include "elimination_kernels.h"
#include "matrix.h"

using qm_detail::MagnitudeSearch;

// MatDeterminant(A, n): A n x n (n >= 1), overwritten with the elimination residue.
// Returns the determinant: the product of the pivots, with the sign of the row and column
// interchanges kept apart and applied before the last diagonal element:
//   1. product = 1, sign = +1.
//   2. For k = 0 .. n-2:
//      1. pivot search over rows k..n-1 x columns k..n-1, row-major, from magnitude 0,
//         strictly greater wins (the first maximum is kept);
//      2. largest magnitude 0: return 0;
//      3. pivot row pr != k: interchange rows k and pr over columns k..n-1, negate sign;
//      4. pivot column pc != k: interchange columns k and pc over rows k..n-1, negate sign;
//      5. product = product * A[k][k];
//      6. rows i > k: f = A[i][k] / A[k][k]; A[i][j] = A[i][j] - f * A[k][j] for j > k.
//   3. Return (sign * product) * A[n-1][n-1].
// The search of step k+1 runs inside the update of step k (same order, same values).
// No status is set.  Cost: about n^3/3 multiply-subtracts.
Extended MatDeterminant(RCOMat& A, std::int32_t n) {
    Extended product = 1.0L;
    std::int32_t sign = 1;
    std::vector<Extended*> rows(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) rows[i] = A[i].data();
    std::vector<Extended> f(static_cast<std::size_t>(n));

    MagnitudeSearch search;
    std::int32_t pr = 0, pc = 0;
    if (n > 1) qm_detail::SearchBlock(A, 0, n, 0, n, search, pr, pc);

    for (std::int32_t k = 0; k <= n - 2; ++k) {
        if (search.best == 0.0L) return 0.0L;
        if (pr != k) {
            qm_detail::SwapRange(rows[k], rows[pr], k, n);
            sign = -sign;
        }
        if (pc != k) {
            qm_detail::SwapColumns(A, k, pc, k, n);
            sign = -sign;
        }
        const Extended* p = rows[k];
        const Extended pivot = p[k];
        product = product * pivot;
        for (std::int32_t i = k + 1; i < n; ++i) f[i] = rows[i][k] / pivot;
        search = MagnitudeSearch{};
        pr = k + 1;
        pc = k + 1;
        qm_detail::SubtractMultipleAndSearch(rows.data(), f.data(), p, k + 1, n, k + 1, n, search,
                                             pr, pc);
    }
    return (static_cast<Extended>(sign) * product) * A[n - 1][n - 1];
}
