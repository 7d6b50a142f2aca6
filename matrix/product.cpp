// Transpose and matrix product.
#include <cstddef>
#include <vector>

#include "matrix.h"

// MatTranspose(A, B): A r x c, read only; B sized c x r and written with B[j][i] = A[i][j]
// (the 80-bit values copied unchanged).  A without rows: MatrixError 5, B untouched.
// Cost: one pass over A.
void MatTranspose(const RCOMat& A, RCOMat& B) {
    std::int32_t r, c;
    MatDims(A, r, c);
    if (MatrixError != 0) return;
    SetSize(B, c, r);
    for (std::int32_t i = 0; i < r; ++i) {
        const Extended* a = A[i].data();
        for (std::int32_t j = 0; j < c; ++j) B[j][i] = a[j];
    }
}

namespace {

// The reduction of one tile of C.  Each C[i][j] is the plain dot product of row i of A and
// row j of the transposed B, accumulated from 0.0 in increasing k with the product and the
// sum each rounded to 80 bits; a tile only interleaves independent accumulators so the
// loads of a and b are shared and the add latencies overlap.
inline void Tile2x2(const Extended* a0, const Extended* a1, const Extended* b0, const Extended* b1,
                    std::size_t n, Extended* c0, Extended* c1, std::size_t j) {
    Extended s00 = 0.0L, s01 = 0.0L, s10 = 0.0L, s11 = 0.0L;
    std::size_t k = 0;
    for (; k + 1 < n; k += 2) {
        Extended x0 = a0[k], x1 = a1[k], y0 = b0[k], y1 = b1[k];
        s00 = x0 * y0 + s00;
        s01 = x0 * y1 + s01;
        s10 = x1 * y0 + s10;
        s11 = x1 * y1 + s11;
        x0 = a0[k + 1], x1 = a1[k + 1], y0 = b0[k + 1], y1 = b1[k + 1];
        s00 = x0 * y0 + s00;
        s01 = x0 * y1 + s01;
        s10 = x1 * y0 + s10;
        s11 = x1 * y1 + s11;
    }
    for (; k < n; ++k) {
        const Extended x0 = a0[k], x1 = a1[k], y0 = b0[k], y1 = b1[k];
        s00 = x0 * y0 + s00;
        s01 = x0 * y1 + s01;
        s10 = x1 * y0 + s10;
        s11 = x1 * y1 + s11;
    }
    c0[j] = s00;
    c0[j + 1] = s01;
    c1[j] = s10;
    c1[j + 1] = s11;
}

inline void Tile1x2(const Extended* a0, const Extended* b0, const Extended* b1, std::size_t n,
                    Extended* c0, std::size_t j) {
    Extended s0 = 0.0L, s1 = 0.0L;
    for (std::size_t k = 0; k < n; ++k) {
        const Extended x0 = a0[k];
        s0 = x0 * b0[k] + s0;
        s1 = x0 * b1[k] + s1;
    }
    c0[j] = s0;
    c0[j + 1] = s1;
}

inline Extended Dot(const Extended* a, const Extended* b, std::size_t n) {
    Extended s = 0.0L;
    for (std::size_t k = 0; k < n; ++k) s = a[k] * b[k] + s;
    return s;
}

}  // namespace

// MatMultiply(A, B, C): A rA x cA and B rB x cB, read only; C sized rA x cB and written with
// C[i][j] = sum over k = 0 .. cA-1, in increasing k from 0.0, of A[i][k] * B[k][j] (product
// and sum each rounded to 80 bits, no fused multiply-add).  C must be distinct from A and B.
// MatrixError: 5 when A or B has no rows, 4 when cA != rB (C untouched in both), else 0.
// Cost: rA*cB*cA multiply-adds, computed in 2 x 2 tiles of C over a transposed copy of B
// (cA*cB extra elements for the duration of the call).
void MatMultiply(const RCOMat& A, const RCOMat& B, RCOMat& C) {
    std::int32_t rA, cA, rB, cB;
    MatDims(A, rA, cA);
    if (MatrixError != 0) return;
    MatDims(B, rB, cB);
    if (MatrixError != 0) return;
    if (cA != rB) {
        MatrixError = 4;
        return;
    }
    SetSize(C, rA, cB);
    const std::size_t n = static_cast<std::size_t>(cA);
    const std::size_t m = static_cast<std::size_t>(cB);
    const std::size_t rows = static_cast<std::size_t>(rA);

    // Columns of B as contiguous rows, so every tile streams through memory in k.
    std::vector<Extended> bt(n * m);
    for (std::size_t k = 0; k < n; ++k) {
        const Extended* b = B[k].data();
        for (std::size_t j = 0; j < m; ++j) bt[j * n + k] = b[j];
    }
    const Extended* bT = bt.data();

    std::size_t i = 0;
    for (; i + 1 < rows; i += 2) {
        const Extended* a0 = A[i].data();
        const Extended* a1 = A[i + 1].data();
        Extended* c0 = C[i].data();
        Extended* c1 = C[i + 1].data();
        std::size_t j = 0;
        for (; j + 1 < m; j += 2) Tile2x2(a0, a1, bT + j * n, bT + (j + 1) * n, n, c0, c1, j);
        if (j < m) {
            const Extended* b0 = bT + j * n;
            c0[j] = Dot(a0, b0, n);
            c1[j] = Dot(a1, b0, n);
        }
    }
    if (i < rows) {
        const Extended* a0 = A[i].data();
        Extended* c0 = C[i].data();
        std::size_t j = 0;
        for (; j + 1 < m; j += 2) Tile1x2(a0, bT + j * n, bT + (j + 1) * n, n, c0, j);
        if (j < m) c0[j] = Dot(a0, bT + j * n, n);
    }
}
