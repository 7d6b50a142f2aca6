// Inner loops shared by the elimination routines (inverse, determinant, rank, LU).
//
// Every kernel performs the same element operation as the plain loop it replaces,
// a[c] = a[c] - f * p[c] with the product and the difference each rounded to 80 bits; it only
// shares the loads of the pivot row between several rows and fuses the next pivot search
// into the pass that writes the new values.  Results are therefore bit-identical to the
// row-by-row, column-by-column formulation.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "matrix.h"

namespace qm_detail {

// Exchange elements [c0, c1) of two rows without passing them through the x87 stack (an
// 80-bit load and store per element is far slower than a plain 16-byte copy).
inline void SwapRange(Extended* a, Extended* b, std::int32_t c0, std::int32_t c1) {
    for (std::int32_t c = c0; c < c1; ++c) {
        unsigned char t[sizeof(Extended)];
        std::memcpy(t, a + c, sizeof(Extended));
        std::memcpy(a + c, b + c, sizeof(Extended));
        std::memcpy(b + c, t, sizeof(Extended));
    }
}

// Exchange columns c and d of rows r0 .. r1-1.
inline void SwapColumns(RCOMat& A, std::int32_t c, std::int32_t d, std::int32_t r0,
                        std::int32_t r1) {
    for (std::int32_t r = r0; r < r1; ++r) SwapRange(A[r].data() + c, A[r].data() + d, 0, 1);
}

// a[c] -= f * p[c] for c in [c0, c1).
inline void SubtractMultiple(Extended* a, const Extended* p, Extended f, std::int32_t c0,
                             std::int32_t c1) {
    for (std::int32_t c = c0; c < c1; ++c) a[c] = a[c] - f * p[c];
}

// The same for four rows at once, each pivot element loaded once.
inline void SubtractMultiple4(Extended* a0, Extended* a1, Extended* a2, Extended* a3,
                              const Extended* p, Extended f0, Extended f1, Extended f2, Extended f3,
                              std::int32_t c0, std::int32_t c1) {
    for (std::int32_t c = c0; c < c1; ++c) {
        const Extended pc = p[c];
        a0[c] = a0[c] - f0 * pc;
        a1[c] = a1[c] - f1 * pc;
        a2[c] = a2[c] - f2 * pc;
        a3[c] = a3[c] - f3 * pc;
    }
}

// Pivot search by plain magnitude: an element wins only when its magnitude is strictly
// greater than the best so far, so the first maximum in scan order is kept.
struct MagnitudeSearch {
    Extended best = 0.0L;  // largest magnitude so far
    // True when magnitude m becomes the new best.
    bool Offer(Extended m) {
        if (m > best) {
            best = m;
            return true;
        }
        return false;
    }
    // True when the best of `other` (a search started from this one's state) beats this.
    bool Beats(const MagnitudeSearch& other) const { return other.best > best; }
};

// Update rows i in [i0, i1) with a[c] -= f[i] * p[c] over columns [c0, c1) (rows[i] points
// to row i, f[i] is its multiplier), and search the new values for the next pivot in
// row-major order.  The search state `s` is updated; pr, pc receive the position of a new
// best (left alone when nothing beats the incoming state).  Rows are processed in pairs;
// each pair keeps one search per row, started from the incoming state, and the two are
// merged in row order, which keeps the first maximum in row-major order.
template <typename Search>
inline void SubtractMultipleAndSearch(Extended* const* rows, const Extended* f, const Extended* p,
                                      std::int32_t i0, std::int32_t i1, std::int32_t c0,
                                      std::int32_t c1, Search& s, std::int32_t& pr,
                                      std::int32_t& pc) {
    std::int32_t i = i0;
    for (; i + 1 < i1; i += 2) {
        Extended* a0 = rows[i];
        Extended* a1 = rows[i + 1];
        const Extended f0 = f[i], f1 = f[i + 1];
        Search s0 = s, s1 = s;
        std::int32_t j0 = -1, j1 = -1;
        for (std::int32_t c = c0; c < c1; ++c) {
            const Extended pcv = p[c];
            const Extended v0 = a0[c] - f0 * pcv;
            a0[c] = v0;
            const Extended v1 = a1[c] - f1 * pcv;
            a1[c] = v1;
            if (s0.Offer(std::fabs(v0))) j0 = c;
            if (s1.Offer(std::fabs(v1))) j1 = c;
        }
        if (j0 >= 0) {
            s = s0;
            pr = i;
            pc = j0;
        }
        if (j1 >= 0 && s.Beats(s1)) {
            s = s1;
            pr = i + 1;
            pc = j1;
        }
    }
    if (i < i1) {
        Extended* a0 = rows[i];
        const Extended f0 = f[i];
        for (std::int32_t c = c0; c < c1; ++c) {
            const Extended v0 = a0[c] - f0 * p[c];
            a0[c] = v0;
            if (s.Offer(std::fabs(v0))) {
                pr = i;
                pc = c;
            }
        }
    }
}

// Search rows [r0, r1) over columns [c0, c1) in row-major order.
template <typename Search>
inline void SearchBlock(const RCOMat& A, std::int32_t r0, std::int32_t r1, std::int32_t c0,
                        std::int32_t c1, Search& s, std::int32_t& pr, std::int32_t& pc) {
    for (std::int32_t r = r0; r < r1; ++r) {
        const Extended* a = A[r].data();
        for (std::int32_t c = c0; c < c1; ++c)
            if (s.Offer(std::fabs(a[c]))) {
                pr = r;
                pc = c;
            }
    }
}

}  // namespace qm_detail
