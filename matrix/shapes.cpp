// Sizing of the library's dynamic types, MatrixError and MatDims.
#include "matrix.h"

std::int32_t MatrixError = 0;

namespace {

template <typename Rows>
void SizeRows(Rows& M, std::int32_t r, std::int32_t c) {
    // std::vector::resize keeps the leading elements and value-initialises (zeroes) the new
    // ones, which is exactly the sizing rule: old elements inside both shapes survive.
    M.resize(r > 0 ? static_cast<std::size_t>(r) : 0);
    const std::size_t cols = c > 0 ? static_cast<std::size_t>(c) : 0;
    for (auto& row : M) row.resize(cols);
}

}  // namespace

void SetSize(RCOMat& M, std::int32_t r, std::int32_t c) { SizeRows(M, r, c); }
void SetSize(matrx2& M, std::int32_t r, std::int32_t c) { SizeRows(M, r, c); }
void SetSize(RCOVec& v, std::int32_t n) { v.resize(n > 0 ? static_cast<std::size_t>(n) : 0); }
void SetSize(std::vector<double>& v, std::int32_t n) {
    v.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
}

void MatDims(const RCOMat& M, std::int32_t& rows, std::int32_t& cols) {
    MatrixError = 0;
    cols = 0;
    rows = static_cast<std::int32_t>(M.size());
    if (rows == 0) {
        MatrixError = 5;
        return;
    }
    cols = static_cast<std::int32_t>(M[0].size());
}
