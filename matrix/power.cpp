// Integer power of a square matrix by repeated products.
#include <cfenv>
#include <cstdint>
#include <utility>

#include "matrix.h"

namespace {

// W := A^e (e >= 1) by e - 1 products W * A, each left in R and then taken over by W.
// Stops after the first product that raises a floating-point fault flag.  On return R and W
// both hold the last power formed.  Returns MatrixError after the last product (0 when no
// product ran).
std::int32_t PositivePower(const RCOMat& A, std::int64_t e, RCOMat& W, RCOMat& R) {
    std::int32_t status = 0;
    W = A;
    for (std::int64_t t = 1; t < e; ++t) {
        MatMultiply(W, A, R);
        status = MatrixError;
        // W takes over the product by exchanging storage; R is refilled by the next product.
        std::swap(W, R);
        if (std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO) != 0) break;
    }
    R = W;
    return status;
}

}  // namespace

// MatPower(A, n, W, R): A r x r, read only; W (scratch) and R r x r, sized by the caller.
//   n = 0: R = identity (A not read).  n = 1: R = A.  n = -1: R = inverse of A (through W,
//   which receives A and is factored in place).  |n| >= 2: W = A, then |n| - 1 times
//   R = W * A, W = R; for n <= -2 finally R = inverse of W (W factored in place).
// Returns MatrixError after the last step that sets it: 3 when the final inverse found the
// power singular (R then keeps A^|n|, or its previous content for n = -1), else 0 (5 for an
// operand without rows).  Stops early, leaving the partial power in R and W, as soon as a
// product raises a floating-point fault flag.  Cost: (|n| - 1) r^3 multiply-adds, plus one
// inverse for n < 0.
std::int32_t MatPower(const RCOMat& A, std::int32_t n, RCOMat& W, RCOMat& R) {
    const std::int32_t r = static_cast<std::int32_t>(A.size());
    if (n == 0) {
        for (std::int32_t i = 0; i < r; ++i)
            for (std::int32_t j = 0; j < r; ++j) R[i][j] = i == j ? 1.0L : 0.0L;
        return 0;
    }
    if (n == 1) {
        R = A;
        return 0;
    }
    if (n == -1) {
        W = A;
        MatInverse(W, R);
        return MatrixError;
    }
    const std::int64_t e = n > 0 ? static_cast<std::int64_t>(n) : -static_cast<std::int64_t>(n);
    const std::int32_t status = PositivePower(A, e, W, R);
    if (n > 0 || std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO) != 0) return status;
    MatInverse(W, R);
    return MatrixError;
}
