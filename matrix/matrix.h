// Quillmark matrix library: dynamic matrix and vector types, the library status
// MatrixError, and every numerical routine.
//
// Conventions shared by all routines:
//  - Indices are zero-based, rows first: M[i][j] is row i, column j.  The eigenvalue
//    chain (MatBalance, MatHessenberg, MatHessenbergEigen) works on 1-based matrx2 data.
//  - Elements are 80-bit extended reals (long double on x86-64); results are fixed bit
//    for bit by the order of operations each routine documents.
//  - Outcomes are return values or MatrixError, never exceptions.  Floating-point faults
//    (overflow, invalid operation, division by zero) are left in the floating-point status
//    flags for the caller to test; iterative routines stop early once one is raised, so
//    they always terminate.
//  - Routines never do I/O and keep no state between calls except MatrixError.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

static_assert(std::numeric_limits<long double>::digits == 64,
              "Quillmark needs the 80-bit extended real (64-bit significand) as long double");

using Extended = long double;

using RCOVec = std::vector<Extended>;             // vector of extended reals, index 0 .. n-1
using RCOMat = std::vector<RCOVec>;               // matrix: a vector of rows, M[i][j]
using matrx2 = std::vector<std::vector<double>>;  // doubles, used 1-based (row/col 0 unused)
using RCoVecE = std::vector<std::int32_t>;        // index vector

// Library status: 0 no error, 3 singular (zero pivot), 4 shapes do not fit, 5 empty operand.
extern std::int32_t MatrixError;

// ---- Sizing ---------------------------------------------------------------------------
// Size M to r x c in one step: elements inside both the old and the new shape are kept,
// every element new to the shape is 0.  r = 0 empties M.
void SetSize(RCOMat& M, std::int32_t r, std::int32_t c);
void SetSize(RCOVec& v, std::int32_t n);
void SetSize(matrx2& M, std::int32_t r, std::int32_t c);
void SetSize(std::vector<double>& v, std::int32_t n);

// MatDims: rows := number of rows of M, cols := length of row 0 (0 without rows).
// Sets MatrixError to 0, or to 5 when M has no rows.  Only row 0 is measured.
void MatDims(const RCOMat& M, std::int32_t& rows, std::int32_t& cols);

// ---- Element-wise operations and reductions --------------------------------------------
// Largest / smallest element in row-major order; the first of equal extremes wins.
// 0 for a matrix without rows or columns.
Extended MatMax(const RCOMat& A);
Extended MatMin(const RCOMat& A);
// C := A + B.  Different shapes: MatrixError 4, C untouched.  Sizes C itself.
void MatAdd(const RCOMat& A, const RCOMat& B, RCOMat& C);
// Element-wise logical AND / OR / XOR (non-zero is true; results 1.0 / 0.0).  As MatAdd.
void MatAnd(const RCOMat& A, const RCOMat& B, RCOMat& C);
void MatOr(const RCOMat& A, const RCOMat& B, RCOMat& C);
void MatXor(const RCOMat& A, const RCOMat& B, RCOMat& C);
// Sum of the existing diagonal elements, from 0.0 in increasing index order.
Extended MatTrace(const RCOMat& A);
// B := x * A; sizes B itself.  A without rows: B untouched.
void MatScale(const RCOMat& A, RCOMat& B, Extended x);
// C[i][j] := A[i][j] * B[i][j] in row-major order; C sized by the caller.
void MatArrayMultiply(const RCOMat& A, const RCOMat& B, RCOMat& C);
// C[i][j] := A[i][j] / B[i][j] in row-major order; stops at the first zero divisor and
// returns false (quotients before it stay in C).  C sized by the caller.
bool MatArrayDivide(const RCOMat& A, const RCOMat& B, RCOMat& C);

// ---- Transpose and product ------------------------------------------------------------
// B := transpose of A (sized cols x rows).  A without rows: B untouched, MatrixError 5.
void MatTranspose(const RCOMat& A, RCOMat& B);
// C := A * B, each C[i][j] accumulated from 0.0 in increasing k with separately rounded
// products and sums.  cols(A) != rows(B): MatrixError 4, C untouched.  C must be distinct
// from A and B.
void MatMultiply(const RCOMat& A, const RCOMat& B, RCOMat& C);

// ---- Direct methods ---------------------------------------------------------------------
// Result := inverse of A by Gaussian elimination with complete pivoting.  A is factored in
// place.  MatrixError: 0 success, 3 singular (Result untouched), 4 not square, 5 empty.
void MatInverse(RCOMat& A, RCOMat& Result);
// Determinant of the n x n matrix A (n >= 1), complete pivoting; A is overwritten.
Extended MatDeterminant(RCOMat& A, std::int32_t n);
// Rank of the m x c matrix A by complete pivoting with exact zero tests; A is overwritten.
Extended MatRank(RCOMat& A, std::int32_t m, std::int32_t c);
// A = L*U without pivoting.  L, U sized by the caller (at least n x n).  A is overwritten.
// Returns 1 success, 0 zero pivot (L, U not written), -1 not square (n != m).
std::int32_t MatLU(RCOMat& A, RCOMat& L, RCOMat& U, std::int32_t n, std::int32_t m);
// A = Q*R by Householder reflections with column scaling (m >= n).  A is replaced by R;
// Q (m x m, sized by the caller) is overwritten.
void MatQR(RCOMat& A, std::int32_t m, std::int32_t n, RCOMat& Q);
// LDL' factorisation of the symmetric matrix formed from A's diagonal and upper triangle.
// L, D (n x n, sized by the caller) are written only on success; returns false when no
// decomposition exists.  A's strict lower triangle is overwritten with the multipliers.
bool MatCholeskyLDL(RCOMat& A, std::int32_t n, RCOMat& L, RCOMat& D);
// A = U*S*V (Golub-Kahan).  A (m x n) is replaced by S, U (m x m) and V (n x n, returned
// transposed) are sized by the caller.  Returns 1 when every singular value converged,
// 0 when the budget of 60 QR steps per value ran out.  m, n >= 1.
std::int32_t MatSVD(RCOMat& A, RCOMat& U, RCOMat& V, Extended eps, std::int32_t m, std::int32_t n);

// ---- Eigenvalue chain (1-based doubles, every expression evaluated in extended) ---------
// Balance a(1..n, 1..n) in place by powers of 2.
void MatBalance(matrx2& a, std::int32_t n);
// Reduce a to upper Hessenberg form by elimination with interchanges, in place.
void MatHessenberg(matrx2& a, std::int32_t n);
// Eigenvalues of the Hessenberg matrix a into wr(1..n), wi(1..n) (lengths >= n+1) by the
// shifted double-step QR iteration.  Returns false when an eigenvalue did not converge
// within 30 iterations (positions 1..nn then keep what they held).  n >= 1.
bool MatHessenbergEigen(matrx2& a, std::int32_t n, std::vector<double>& wr,
                        std::vector<double>& wi);

// ---- Power ------------------------------------------------------------------------------
// R := A^n for the r x r matrix A, with W as scratch (both sized r x r by the caller):
// n = 0 identity, n = 1 copy, n = -1 inverse, |n| >= 2 by |n| - 1 products (W * A), then
// one inverse for negative n.  Returns MatrixError's value after the last step that sets
// it: 3 when the final inverse found A singular (R then holds A^|n|, or its previous
// content for n = -1).  Stops early, with the partial power in R and W, as soon as a
// floating-point fault flag is raised, so the caller can report it.
std::int32_t MatPower(const RCOMat& A, std::int32_t n, RCOMat& W, RCOMat& R);
