// Matrix inverse by Gaussian elimination with complete pivoting and one solve per column.
#include <cmath>
#include <utility>
#include <vector>

#include "elimination_kernels.h"
#include "matrix.h"

using qm_detail::MagnitudeSearch;

// MatInverse(A, Result): A n x n, factored in place; Result sized n x n and written with
// the inverse on success.
//   1. MatDims(A); stop when MatrixError != 0 (5: no rows).
//   2. rows != length of row 0: MatrixError 4, stop.
//   3. n = rows; column order and row order start as 0 .. n-1.
//   4. For k = 0 .. n-2 while MatrixError = 0:
//      1. pivot search over rows k..n-1 x columns k..n-1 from the candidate (k, k), row-major,
//         strictly greater magnitude wins;
//      2. candidate magnitude exactly 0: MatrixError 3;
//      3. otherwise interchange columns k and pc in all rows (and in the column order), then
//         rows k and pr over all columns (and in the row order);
//      4. with p = A[k][k], for rows j > k: f = A[j][k] / p; A[j][c] -= f * A[k][c] for
//         c > k and for c < k; A[j][k] = -f.
//   5. If MatrixError = 0: the first exactly zero A[i][i] sets MatrixError 3.
//   6. MatrixError != 0: stop, Result untouched.
//   7-9. Result sized n x n; column j of Result solves A x = e_j: for i = n-1 down to 0,
//      s = b[row order[i]] + sum over c < i of A[i][c] * b[row order[c]]
//          - sum over c > i of A[i][c] * y[c] (each term added in increasing c);
//      y[i] = s / A[i][i]; then x[column order[i]] = y[i].
// After step 4, A holds U on and above the diagonal and the accumulated row operations below
// it.  MatrixError: 0 success, 3 singular, 4 not square, 5 no rows.
// Cost: about n^3/2 multiply-subtracts for the elimination and n^3 for the solves.
void MatInverse(RCOMat& A, RCOMat& Result) {
    std::int32_t rows, cols;
    MatDims(A, rows, cols);
    if (MatrixError != 0) return;
    if (rows != cols) {
        MatrixError = 4;
        return;
    }
    const std::int32_t n = rows;
    RCoVecE colOrder(static_cast<std::size_t>(n)), rowOrder(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) colOrder[i] = rowOrder[i] = i;
    std::vector<Extended*> r(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) r[i] = A[i].data();
    std::vector<Extended> f(static_cast<std::size_t>(n));

    // Search of step 0; later searches run inside the update of the previous step.
    MagnitudeSearch search;
    std::int32_t pr = 0, pc = 0;
    search.best = std::fabs(A[0][0]);
    qm_detail::SearchBlock(A, 0, n, 0, n, search, pr, pc);

    for (std::int32_t k = 0; k <= n - 2 && MatrixError == 0; ++k) {
        if (search.best == 0.0L) {
            MatrixError = 3;
            break;
        }
        if (pc != k) {
            qm_detail::SwapColumns(A, k, pc, 0, n);
            std::swap(colOrder[k], colOrder[pc]);
        }
        if (pr != k) {
            std::swap(A[k], A[pr]);  // the whole row moves: swap the storage
            std::swap(r[k], r[pr]);
            std::swap(rowOrder[k], rowOrder[pr]);
        }
        const Extended* p = r[k];
        const Extended pivot = p[k];
        for (std::int32_t j = k + 1; j < n; ++j) f[j] = r[j][k] / pivot;

        // Columns left of k: no search there.
        std::int32_t j = k + 1;
        for (; j + 3 < n; j += 4)
            qm_detail::SubtractMultiple4(r[j], r[j + 1], r[j + 2], r[j + 3], p, f[j], f[j + 1],
                                         f[j + 2], f[j + 3], 0, k);
        for (; j < n; ++j) qm_detail::SubtractMultiple(r[j], p, f[j], 0, k);

        // Columns right of k, with the next pivot search; it starts from the candidate
        // (k+1, k+1), which in scan order is the same as starting from 0 and taking the
        // first element, unless that element is NaN (nothing then beats it).
        search = MagnitudeSearch{};
        pr = k + 1;
        pc = k + 1;
        qm_detail::SubtractMultipleAndSearch(r.data(), f.data(), p, k + 1, n, k + 1, n, search, pr,
                                             pc);
        if (k + 1 < n && std::isnan(r[k + 1][k + 1])) {
            search.best = std::fabs(r[k + 1][k + 1]);
            pr = pc = k + 1;
        }
        for (std::int32_t i = k + 1; i < n; ++i) r[i][k] = -f[i];
    }

    if (MatrixError == 0) {
        for (std::int32_t i = 0; i < n; ++i)
            if (A[i][i] == 0.0L) {
                MatrixError = 3;
                break;
            }
    }
    if (MatrixError != 0) return;

    SetSize(Result, n, n);
    // Columns are solved two at a time: the two solves share every load of A and run as two
    // independent chains of additions; each is the same sequence of operations as alone.
    RCOVec b(static_cast<std::size_t>(n));
    RCOVec bp0(static_cast<std::size_t>(n)), bp1(static_cast<std::size_t>(n));
    RCOVec y0(static_cast<std::size_t>(n)), y1(static_cast<std::size_t>(n));
    for (std::int32_t col = 0; col < n; col += 2) {
        const bool pair = col + 1 < n;
        // The right-hand sides e_col, e_col+1 in row order, so the sums read memory in
        // sequence.
        for (std::int32_t i = 0; i < n; ++i) {
            bp0[i] = rowOrder[i] == col ? 1.0L : 0.0L;
            bp1[i] = rowOrder[i] == col + 1 ? 1.0L : 0.0L;
        }
        for (std::int32_t i = n - 1; i >= 0 && pair; --i) {
            const Extended* a = r[i];
            Extended s0 = bp0[i], s1 = bp1[i];
            for (std::int32_t c = 0; c < i; ++c) {
                const Extended ac = a[c];
                s0 = s0 + ac * bp0[c];
                s1 = s1 + ac * bp1[c];
            }
            for (std::int32_t c = i + 1; c < n; ++c) {
                const Extended ac = a[c];
                s0 = s0 - ac * y0[c];
                s1 = s1 - ac * y1[c];
            }
            y0[i] = s0 / a[i];
            y1[i] = s1 / a[i];
        }
        if (!pair) {
            // A lone last column is solved by itself: a dummy partner could raise a
            // floating-point fault of its own.
            for (std::int32_t i = n - 1; i >= 0; --i) {
                const Extended* a = r[i];
                Extended s0 = bp0[i];
                for (std::int32_t c = 0; c < i; ++c) s0 = s0 + a[c] * bp0[c];
                for (std::int32_t c = i + 1; c < n; ++c) s0 = s0 - a[c] * y0[c];
                y0[i] = s0 / a[i];
            }
        }
        for (std::int32_t i = 0; i < n; ++i) b[colOrder[i]] = y0[i];
        for (std::int32_t i = 0; i < n; ++i) Result[i][col] = b[i];
        if (pair) {
            for (std::int32_t i = 0; i < n; ++i) b[colOrder[i]] = y1[i];
            for (std::int32_t i = 0; i < n; ++i) Result[i][col + 1] = b[i];
        }
    }
}
