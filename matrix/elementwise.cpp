// Element-wise operations and reductions: largest and smallest element, sum, logical AND /
// OR / XOR, trace, multiple by a real number, element-wise product and quotient.
//
// Every loop runs over rows in the outer loop and columns in the inner loop (row-major), so
// the order in which faults and results appear is fixed.  Only the outputs are written.
#include <cstddef>

#include "matrix.h"

namespace {

// Truth value of an element: 0.0 and -0.0 are false, everything else (NaN included) true.
inline bool IsTrue(Extended v) {
    return v != 0.0L;
}

// Shared frame of the two-operand operations with equal shapes: shapes of A then B, shape
// test, sizing of C, then op(a, b) for every element in row-major order.
template <typename Op>
void EqualShapeOp(const RCOMat& A, const RCOMat& B, RCOMat& C, Op op) {
    std::int32_t rA, cA, rB, cB;
    MatDims(A, rA, cA);
    if (MatrixError != 0) return;
    MatDims(B, rB, cB);
    if (MatrixError != 0) return;
    if (rA != rB || cA != cB) {
        MatrixError = 4;
        return;
    }
    SetSize(C, rA, cA);
    for (std::int32_t i = 0; i < rA; ++i) {
        const Extended* a = A[i].data();
        const Extended* b = B[i].data();
        Extended* c = C[i].data();
        for (std::int32_t j = 0; j < cA; ++j) c[j] = op(a[j], b[j]);
    }
}

// Shared frame of MatMax / MatMin: first element, then replace only on a strict win.
template <typename Better>
Extended Extreme(const RCOMat& A, Better better) {
    std::int32_t r, c;
    MatDims(A, r, c);
    if (MatrixError != 0 || c == 0) return 0.0L;
    Extended result = A[0][0];
    for (std::int32_t i = 0; i < r; ++i) {
        const Extended* a = A[i].data();
        for (std::int32_t j = 0; j < c; ++j)
            if (better(a[j], result)) result = a[j];
    }
    return result;
}

}  // namespace

// MatMax(A): A r x c, read only.  Returns the largest element, the first of equal ones in
// row-major order; 0 when A has no rows (MatrixError 5) or no columns.  Cost: r*c compares.
Extended MatMax(const RCOMat& A) {
    return Extreme(A, [](Extended v, Extended best) { return v > best; });
}

// MatMin(A): as MatMax with the smallest element.
Extended MatMin(const RCOMat& A) {
    return Extreme(A, [](Extended v, Extended best) { return v < best; });
}

// MatAdd(A, B, C): A, B r x c, read only; C sized r x c and written with A + B.
// MatrixError: 5 when A or B has no rows, 4 when the shapes differ (C untouched in both
// cases), else 0.  Cost: r*c additions.
void MatAdd(const RCOMat& A, const RCOMat& B, RCOMat& C) {
    EqualShapeOp(A, B, C, [](Extended a, Extended b) { return a + b; });
}

// MatAnd / MatOr / MatXor(A, B, C): as MatAdd, with C[i][j] = 1.0 when the logical operation
// of the truth values of A[i][j] and B[i][j] holds, else 0.0.
void MatAnd(const RCOMat& A, const RCOMat& B, RCOMat& C) {
    EqualShapeOp(A, B, C,
                 [](Extended a, Extended b) { return IsTrue(a) && IsTrue(b) ? 1.0L : 0.0L; });
}

void MatOr(const RCOMat& A, const RCOMat& B, RCOMat& C) {
    EqualShapeOp(A, B, C,
                 [](Extended a, Extended b) { return IsTrue(a) || IsTrue(b) ? 1.0L : 0.0L; });
}

void MatXor(const RCOMat& A, const RCOMat& B, RCOMat& C) {
    EqualShapeOp(A, B, C,
                 [](Extended a, Extended b) { return IsTrue(a) != IsTrue(b) ? 1.0L : 0.0L; });
}

// MatTrace(A): A r x c, read only.  Returns A[0][0] + A[1][1] + ... over the min(r, c)
// diagonal elements, summed from 0.0 in increasing index.  Sets MatrixError through
// MatDims (5 for no rows, then the sum is 0).  Cost: min(r, c) additions.
Extended MatTrace(const RCOMat& A) {
    Extended sum = 0.0L;
    std::int32_t r, c;
    MatDims(A, r, c);
    const std::int32_t d = r < c ? r : c;
    for (std::int32_t i = 0; i < d; ++i) sum = sum + A[i][i];
    return sum;
}

// MatScale(A, B, x): A r x c, read only; B sized r x c and written with x * A[i][j].
// A without rows: MatrixError 5, B untouched.  Cost: r*c multiplications.
void MatScale(const RCOMat& A, RCOMat& B, Extended x) {
    std::int32_t r, c;
    MatDims(A, r, c);
    if (MatrixError != 0) return;
    SetSize(B, r, c);
    for (std::int32_t i = 0; i < r; ++i) {
        const Extended* a = A[i].data();
        Extended* b = B[i].data();
        for (std::int32_t j = 0; j < c; ++j) b[j] = x * a[j];
    }
}

// MatArrayMultiply(A, B, C): A, B, C r x c (C sized by the caller; the shape is taken from
// A).  C[i][j] = A[i][j] * B[i][j] in row-major order.  MatrixError untouched.
void MatArrayMultiply(const RCOMat& A, const RCOMat& B, RCOMat& C) {
    const std::size_t r = A.size();
    if (r == 0) return;
    const std::size_t c = A[0].size();
    for (std::size_t i = 0; i < r; ++i) {
        const Extended* a = A[i].data();
        const Extended* b = B[i].data();
        Extended* out = C[i].data();
        for (std::size_t j = 0; j < c; ++j) out[j] = a[j] * b[j];
    }
}

// MatArrayDivide(A, B, C): as MatArrayMultiply with C[i][j] = A[i][j] / B[i][j].  Stops at
// the first divisor equal to 0.0 or -0.0 and returns false; the quotients before it stay in
// C.  Returns true when every element was divided.  No division by zero is performed.
bool MatArrayDivide(const RCOMat& A, const RCOMat& B, RCOMat& C) {
    const std::size_t r = A.size();
    if (r == 0) return true;
    const std::size_t c = A[0].size();
    for (std::size_t i = 0; i < r; ++i) {
        const Extended* a = A[i].data();
        const Extended* b = B[i].data();
        Extended* out = C[i].data();
        for (std::size_t j = 0; j < c; ++j) {
            if (b[j] == 0.0L) return false;
            out[j] = a[j] / b[j];
        }
    }
    return true;
}
