// Helpers shared by the matrix library tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <random>
#include <string>

#include "matrix.h"

namespace qm_test {

// A value no routine produces: outputs are filled with it before a call, so an element that
// should have been written (or left alone) shows at once.
inline constexpr Extended kSentinel = -777.25L;

inline RCOMat Mat(std::initializer_list<std::initializer_list<Extended>> rows) {
    RCOMat M;
    for (const auto& r : rows) M.emplace_back(r);
    return M;
}

inline RCOMat Filled(std::int32_t r, std::int32_t c, Extended v = kSentinel) {
    return RCOMat(static_cast<std::size_t>(r), RCOVec(static_cast<std::size_t>(c), v));
}

inline RCOMat Identity(std::int32_t n) {
    RCOMat I = Filled(n, n, 0.0L);
    for (std::int32_t i = 0; i < n; ++i) I[i][i] = 1.0L;
    return I;
}

// Seeded random matrix with elements uniform in [-1, 1), rounded to whole 80-bit values.
inline RCOMat Random(std::mt19937_64& rng, std::int32_t r, std::int32_t c) {
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    RCOMat M = Filled(r, c, 0.0L);
    for (auto& row : M)
        for (auto& v : row)
            v = static_cast<Extended>(u(rng)) + static_cast<Extended>(u(rng)) * 0x1p-40L;
    return M;
}

// Bitwise equality of two 80-bit values (sign of zero and NaN payloads included).
inline bool SameBits(Extended a, Extended b) {
    return std::memcmp(&a, &b, 10) == 0;
}

inline bool SameBits(const RCOMat& A, const RCOMat& B) {
    if (A.size() != B.size()) return false;
    for (std::size_t i = 0; i < A.size(); ++i) {
        if (A[i].size() != B[i].size()) return false;
        for (std::size_t j = 0; j < A[i].size(); ++j)
            if (!SameBits(A[i][j], B[i][j])) return false;
    }
    return true;
}

// The plain i-j-k product: the reference every faster product must match bit for bit.
inline RCOMat PlainProduct(const RCOMat& A, const RCOMat& B) {
    const std::size_t r = A.size(), n = B.size(), c = B.empty() ? 0 : B[0].size();
    RCOMat C = Filled(static_cast<std::int32_t>(r), static_cast<std::int32_t>(c), 0.0L);
    for (std::size_t i = 0; i < r; ++i)
        for (std::size_t j = 0; j < c; ++j) {
            Extended s = 0.0L;
            for (std::size_t k = 0; k < n; ++k) s = A[i][k] * B[k][j] + s;
            C[i][j] = s;
        }
    return C;
}

// Infinity norm (largest absolute row sum).
inline Extended NormInf(const RCOMat& A) {
    Extended best = 0.0L;
    for (const auto& row : A) {
        Extended s = 0.0L;
        for (Extended v : row) s += std::fabs(v);
        if (s > best) best = s;
    }
    return best;
}

inline RCOMat Difference(const RCOMat& A, const RCOMat& B) {
    RCOMat D = A;
    for (std::size_t i = 0; i < A.size(); ++i)
        for (std::size_t j = 0; j < A[i].size(); ++j) D[i][j] = A[i][j] - B[i][j];
    return D;
}

inline std::string Show(const RCOMat& A) {
    std::string s;
    for (const auto& row : A) {
        s.append("[");
        for (Extended v : row) {
            s.append(" ");
            s.append(std::to_string(static_cast<double>(v)));
        }
        s.append(" ]");
    }
    return s;
}

inline constexpr Extended kEps = 0x1p-63L;  // unit roundoff of the 80-bit format

}  // namespace qm_test
