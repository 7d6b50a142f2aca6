// QR decomposition by Householder reflections with column scaling.
#include <algorithm>
#include <cmath>

#include "matrix.h"

namespace {

// Vectors reflected together: their dot products form independent chains of additions, so
// the latency of one chain overlaps the others.  Each chain keeps its own order.
constexpr std::int32_t kGroup = 4;

// For each x = x[g], g < group: s = sum over i = k..m-1 of x[i]*v[i], each partial sum
// rounded to double; s = s / beta (double); then x[i] = x[i] - s*v[i] for i = k..m-1.
void Reflect(Extended* const* x, std::int32_t group, const Extended* v, std::int32_t k,
             std::int32_t m, double beta) {
    double s[kGroup] = {0.0, 0.0, 0.0, 0.0};
    if (group == kGroup) {
        for (std::int32_t i = k; i < m; ++i) {
            const Extended vi = v[i];
            s[0] = static_cast<double>(s[0] + x[0][i] * vi);
            s[1] = static_cast<double>(s[1] + x[1][i] * vi);
            s[2] = static_cast<double>(s[2] + x[2][i] * vi);
            s[3] = static_cast<double>(s[3] + x[3][i] * vi);
        }
    } else {
        for (std::int32_t g = 0; g < group; ++g)
            for (std::int32_t i = k; i < m; ++i) s[g] = static_cast<double>(s[g] + x[g][i] * v[i]);
    }
    for (std::int32_t g = 0; g < group; ++g) {
        const double sg = static_cast<double>(static_cast<Extended>(s[g]) / beta);
        Extended* xg = x[g];
        for (std::int32_t i = k; i < m; ++i) xg[i] = xg[i] - sg * v[i];
    }
}

}  // namespace

// MatQR: A = Q*R for an m x n matrix with m >= n.
//
//   A  m x n, in: the matrix; out: R, upper triangular, every element below the diagonal
//      exactly 0.  R's diagonal is not normalised: an element produced by a reflection has
//      the opposite sign of its column's leading element at that step (negative for a
//      leading 0); the last diagonal element of a square matrix, and that of a skipped zero
//      column, keep what the earlier reflections left there.
//   m, n  rows and columns of A.
//   Q  m x m, sized by the caller; overwritten with H_0*H_1*...*H_p, so that A = Q*R.
//
// Step k (k = 0 .. min(m-2, n-1)) divides column k from the diagonal down by the sum of its
// magnitudes, builds the reflection H_k = I - v*v'/beta with v held in that part of column
// k, and applies it to the columns right of k and to Q from the right.  A column that is
// zero from the diagonal down is skipped.  The scale, the sum of squares, alpha, beta and
// every dot product are doubles (each sum rounded to double as it is accumulated); elements
// of A and Q stay extended, and every value stored into them is formed in extended.
//
// Cost: about 2*m*n^2 operations for R plus 2*m^2*min(m, n) for Q.  The columns of A are
// worked on in a transposed copy so that each column is contiguous; this changes no value.
void MatQR(RCOMat& A, std::int32_t m, std::int32_t n, RCOMat& Q) {
    // 1. Q := identity.
    for (std::int32_t r = 0; r < m; ++r) {
        for (std::int32_t i = 0; i < m; ++i) Q[r][i] = 0;
        Q[r][r] = 1;
    }

    // At[j][i] is A[i][j].
    RCOMat At(static_cast<std::size_t>(n > 0 ? n : 0), RCOVec(static_cast<std::size_t>(m)));
    for (std::int32_t i = 0; i < m; ++i)
        for (std::int32_t j = 0; j < n; ++j) At[j][i] = A[i][j];

    // 2. One reflection per column, up to and including min(m-2, n-1).
    const std::int32_t last = std::min(m - 2, n - 1);
    for (std::int32_t k = 0; k <= last; ++k) {
        Extended* colk = At[k].data();

        // 2.1 Column scale.
        double scale = 0.0;
        for (std::int32_t i = k; i < m; ++i)
            scale = static_cast<double>(scale + std::fabs(colk[i]));
        // 2.2 Already zero from the diagonal down: no reflection.
        if (scale == 0.0) continue;

        // 2.3 Scale the column and sum the squares of the scaled elements.
        double sumsq = 0.0;
        for (std::int32_t i = k; i < m; ++i) {
            colk[i] = colk[i] / scale;
            sumsq = static_cast<double>(sumsq + colk[i] * colk[i]);
        }
        // 2.4 - 2.5  alpha takes the opposite sign of the leading element (0 counts as +).
        const Extended sigma = colk[k] < 0 ? -1.0L : 1.0L;
        const double alpha = static_cast<double>(-sigma * std::sqrt(static_cast<Extended>(sumsq)));
        // 2.6 Column k, rows k..m-1, now holds v.
        colk[k] = colk[k] - alpha;
        // 2.7
        const double beta = static_cast<double>(-static_cast<Extended>(alpha) * colk[k]);

        // 2.8 Reflect the remaining columns of A.
        for (std::int32_t j = k + 1; j < n;) {
            const std::int32_t group = std::min<std::int32_t>(kGroup, n - j);
            Extended* cols[kGroup];
            for (std::int32_t g = 0; g < group; ++g) cols[g] = At[j + g].data();
            Reflect(cols, group, colk, k, m, beta);
            j += group;
        }
        // 2.9 Apply the reflection to Q from the right.
        for (std::int32_t r = 0; r < m;) {
            const std::int32_t group = std::min<std::int32_t>(kGroup, m - r);
            Extended* rows[kGroup];
            for (std::int32_t g = 0; g < group; ++g) rows[g] = Q[r + g].data();
            Reflect(rows, group, colk, k, m, beta);
            r += group;
        }
        // 2.10 The diagonal element of R, back in unscaled units.
        colk[k] = static_cast<Extended>(alpha) * scale;
        // 2.11
        for (std::int32_t i = k + 1; i < m; ++i) colk[i] = 0;
    }

    // 3. A := R.
    for (std::int32_t i = 0; i < m; ++i)
        for (std::int32_t j = 0; j < n; ++j) A[i][j] = At[j][i];
}
