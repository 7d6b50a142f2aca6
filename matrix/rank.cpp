// Rank by Gaussian elimination with complete pivoting and exact zero tests.
#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

#include "elimination_kernels.h"
#include "matrix.h"

namespace {

// Magnitudes from this bound up round to +infinity as doubles (DBL_MAX plus half its unit
// in the last place).
const Extended kDoubleOverflow = std::ldexp(1.0L, 1024) - std::ldexp(1.0L, 970);

// Elements at or beyond this magnitude are scaled down by 2^-kShift before the elimination,
// so that growth during the elimination cannot overflow.  The search keys undo the shift, so
// the pivots, the multipliers and the zero decisions stay those of the unscaled matrix.
const Extended kScaleBound = std::ldexp(1.0L, 16256);
constexpr int kShift = 256;

// The search key of a magnitude m >= 0: m rounded to double, saturated to +infinity by a
// comparison instead of a conversion, so an element beyond the double range raises no
// overflow.
inline double RoundedKey(Extended m) {
    if (m >= kDoubleOverflow) return std::numeric_limits<double>::infinity();
    return static_cast<double>(m);
}

// Pivot search by magnitude rounded to double: an element wins only when its rounded
// magnitude is strictly greater than the best so far.  Magnitudes beyond the double range
// all round to +infinity; among those the exact magnitude decides, so the pivot is the
// largest element of the block and every multiplier stays within [-1, 1].
struct RankSearch {
    double key = 0.0;      // best rounded magnitude so far
    Extended mag = 0.0L;   // exact magnitude of the best (in the working scale)
    Extended gate = 0.0L;  // a magnitude must exceed this to have a chance
    bool scaled = false;   // elements carry the factor 2^-kShift

    bool Offer(Extended m) {
        if (!(m > gate)) return false;  // round(m) <= key: cheap rejection of most elements
        // In the scaled matrix the saturation bound moves down with the elements, so the
        // unscaling multiplication never overflows.
        const double k = scaled ? (m >= kDoubleOverflow / Scale() ? RoundedKey(kDoubleOverflow)
                                                                  : RoundedKey(m * Scale()))
                                : RoundedKey(m);
        if (k > key || (k == key && std::isinf(k) && m > mag)) {
            key = k;
            mag = m;
            gate = std::isinf(k) ? m : static_cast<Extended>(k) / (scaled ? Scale() : 1.0L);
            return true;
        }
        return false;
    }
    bool Beats(const RankSearch& other) const {
        return other.key > key || (other.key == key && std::isinf(key) && other.mag > mag);
    }
    static Extended Scale() { return std::ldexp(1.0L, kShift); }
};

}  // namespace

// MatRank(A, m, c): A m x c, overwritten by the elimination.  Returns the number of pivots
// found before the remaining block is exactly zero, as an Extended whole number:
//   1. count = 0; limit = min(m, c).
//   2. For k = 0 .. limit-1:
//      1. pivot search over rows k..m-1 x columns k..c-1, row-major, each magnitude rounded
//         to double, strictly greater wins (the first maximum is kept);
//      2. largest rounded magnitude exactly 0: stop;
//      3. count = count + 1;
//      4. k = limit-1: stop;
//      5. interchange rows k and pr over columns k..c-1, then columns k and pc over rows
//         k..m-1 (each only when it differs from k);
//      6. rows i > k: f = A[i][k] / A[k][k] rounded to double;
//         A[i][j] = A[i][j] - A[k][j] * f for j > k (80-bit product and difference).
//   3. Return count.
// Elements beyond the double range rank above every other magnitude and among themselves by
// exact magnitude, so the elimination of such a matrix raises no floating-point fault.  The
// search of step k+1 runs inside the update of step k.  No status is set.
// Cost: about m*c*min(m, c) multiply-subtracts.
Extended MatRank(RCOMat& A, std::int32_t m, std::int32_t c) {
    std::int32_t count = 0;
    const std::int32_t limit = m >= c ? c : m;
    if (limit <= 0) return 0.0L;
    std::vector<Extended*> rows(static_cast<std::size_t>(m));
    for (std::int32_t i = 0; i < m; ++i) rows[i] = A[i].data();
    std::vector<Extended> f(static_cast<std::size_t>(m));

    RankSearch search;
    std::int32_t pr = 0, pc = 0;
    qm_detail::SearchBlock(A, 0, m, 0, c, search, pr, pc);
    if (search.mag >= kScaleBound) {
        const Extended s = 1.0L / RankSearch::Scale();
        for (std::int32_t i = 0; i < m; ++i)
            for (std::int32_t j = 0; j < c; ++j) rows[i][j] = rows[i][j] * s;
        search.scaled = true;
        search.mag = search.mag * s;
        search.gate = search.mag;
    }

    for (std::int32_t k = 0; k < limit; ++k) {
        if (search.key == 0.0) break;
        count = count + 1;
        if (k == limit - 1) break;
        if (pr != k) qm_detail::SwapRange(rows[k], rows[pr], k, c);
        if (pc != k) qm_detail::SwapColumns(A, k, pc, k, m);
        const Extended* p = rows[k];
        const Extended pivot = p[k];
        for (std::int32_t i = k + 1; i < m; ++i) {
            const double fd = static_cast<double>(rows[i][k] / pivot);
            f[i] = fd;
        }
        const bool scaled = search.scaled;
        search = RankSearch{};
        search.scaled = scaled;
        pr = k + 1;
        pc = k + 1;
        qm_detail::SubtractMultipleAndSearch(rows.data(), f.data(), p, k + 1, m, k + 1, c, search,
                                             pr, pc);
    }
    return static_cast<Extended>(count);
}
