// Test matrices and residual measures shared by the decomposition tests.
//
// Matrices are generated from a fixed seed so that every run sees the same data; norms are
// 1-norms (largest column sum) evaluated in extended precision, as residual ratios
// ||A - Q*R|| / (n*||A||*eps) are customarily measured.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "matrix.h"

namespace testmat {

enum class Kind {
    Random,          // uniform in [-1, 1]
    Graded,          // random, rows and columns scaled over 1e-8 .. 1e8
    RankDeficient,   // product of m x r and r x n random factors, r = min(m, n) / 2
    IllConditioned,  // Q1 * diag(1 .. 1e-12) * Q2 with random orthogonal Q1, Q2
    Zero,
    Identity,  // ones on the main diagonal (of a non-square shape too)
};

inline const char* KindName(Kind k) {
    switch (k) {
        case Kind::Random:
            return "Random";
        case Kind::Graded:
            return "Graded";
        case Kind::RankDeficient:
            return "RankDeficient";
        case Kind::IllConditioned:
            return "IllConditioned";
        case Kind::Zero:
            return "Zero";
        case Kind::Identity:
            return "Identity";
    }
    return "?";
}

struct Shape {
    std::int32_t m, n;
};

inline RCOMat Make(std::int32_t m, std::int32_t n) {
    RCOMat A;
    SetSize(A, m, n);
    return A;
}

inline RCOMat Filled(std::int32_t m, std::int32_t n, Extended value) {
    RCOMat A = Make(m, n);
    for (auto& row : A) std::fill(row.begin(), row.end(), value);
    return A;
}

inline RCOMat Product(const RCOMat& A, const RCOMat& B) {
    const std::size_t m = A.size(), k = B.size(), n = B.empty() ? 0 : B[0].size();
    RCOMat C(m, RCOVec(n));
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t j = 0; j < n; ++j) {
            Extended sum = 0;
            for (std::size_t l = 0; l < k; ++l) sum += A[i][l] * B[l][j];
            C[i][j] = sum;
        }
    return C;
}

inline RCOMat Transposed(const RCOMat& A) {
    const std::size_t m = A.size(), n = A.empty() ? 0 : A[0].size();
    RCOMat T(n, RCOVec(m));
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t j = 0; j < n; ++j) T[j][i] = A[i][j];
    return T;
}

// Largest column sum of |A|.
inline Extended Norm1(const RCOMat& A) {
    if (A.empty()) return 0;
    Extended best = 0;
    for (std::size_t j = 0; j < A[0].size(); ++j) {
        Extended sum = 0;
        for (const auto& row : A) sum += std::fabs(row[j]);
        best = std::max(best, sum);
    }
    return best;
}

inline Extended NormDiff(const RCOMat& A, const RCOMat& B) {
    RCOMat D = A;
    for (std::size_t i = 0; i < D.size(); ++i)
        for (std::size_t j = 0; j < D[i].size(); ++j) D[i][j] -= B[i][j];
    return Norm1(D);
}

// ||X' * X - I|| over the first `cols` columns of X.
inline Extended OrthogonalityLoss(const RCOMat& X, std::size_t cols) {
    RCOMat G(cols, RCOVec(cols));
    for (std::size_t a = 0; a < cols; ++a)
        for (std::size_t b = 0; b < cols; ++b) {
            Extended sum = 0;
            for (const auto& row : X) sum += row[a] * row[b];
            G[a][b] = sum - (a == b ? 1 : 0);
        }
    return Norm1(G);
}

// A random orthogonal n x n matrix: a product of n random Householder reflections.
inline RCOMat RandomOrthogonal(std::int32_t n, std::mt19937_64& rng) {
    std::uniform_real_distribution<double> uni(-1.0, 1.0);
    RCOMat Q = Make(n, n);
    for (std::int32_t i = 0; i < n; ++i) Q[i][i] = 1;
    for (std::int32_t r = 0; r < n; ++r) {
        RCOVec v(n);
        Extended vv = 0;
        for (auto& x : v) {
            x = uni(rng);
            vv += x * x;
        }
        for (auto& row : Q) {  // Q := Q * (I - 2 v v' / v'v)
            Extended d = 0;
            for (std::int32_t i = 0; i < n; ++i) d += row[i] * v[i];
            d = 2 * d / vv;
            for (std::int32_t i = 0; i < n; ++i) row[i] -= d * v[i];
        }
    }
    return Q;
}

inline RCOMat Generate(Kind kind, std::int32_t m, std::int32_t n, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> uni(-1.0, 1.0);
    const auto random = [&](std::int32_t r, std::int32_t c) {
        RCOMat R = Make(r, c);
        for (auto& row : R)
            for (auto& x : row) x = uni(rng);
        return R;
    };
    switch (kind) {
        case Kind::Random:
            return random(m, n);
        case Kind::Graded: {
            RCOMat A = random(m, n);
            // Row i scaled by 10^(-8 + 16 i/(m-1)), column j by 10^(8 - 16 j/(n-1)),
            // so single elements span 1e-16 .. 1e16 and rows and columns 1e-8 .. 1e8.
            for (std::int32_t i = 0; i < m; ++i)
                for (std::int32_t j = 0; j < n; ++j) {
                    const Extended ri = m > 1 ? -8 + 16.0L * i / (m - 1) : 0;
                    const Extended cj = n > 1 ? 8 - 16.0L * j / (n - 1) : 0;
                    A[i][j] *= std::pow(10.0L, ri) * std::pow(10.0L, cj);
                }
            return A;
        }
        case Kind::RankDeficient: {
            const std::int32_t r = std::max(1, std::min(m, n) / 2);
            return Product(random(m, r), random(r, n));
        }
        case Kind::IllConditioned: {
            const RCOMat Q1 = RandomOrthogonal(m, rng);
            const RCOMat Q2 = RandomOrthogonal(n, rng);
            const std::int32_t k = std::min(m, n);
            RCOMat D = Make(m, n);
            for (std::int32_t i = 0; i < k; ++i)
                D[i][i] = k > 1 ? std::pow(10.0L, -12.0L * i / (k - 1)) : 1;
            return Product(Product(Q1, D), Q2);
        }
        case Kind::Zero:
            return Make(m, n);
        case Kind::Identity: {
            RCOMat A = Make(m, n);
            for (std::int32_t i = 0; i < std::min(m, n); ++i) A[i][i] = 1;
            return A;
        }
    }
    return {};
}

// 1-based (n+1) x (n+1) doubles for the eigenvalue chain.
inline matrx2 ToMatrx2(const RCOMat& A) {
    const std::int32_t n = static_cast<std::int32_t>(A.size());
    matrx2 a;
    SetSize(a, n + 1, n + 1);
    for (std::int32_t i = 0; i < n; ++i)
        for (std::int32_t j = 0; j < n; ++j) a[i + 1][j + 1] = static_cast<double>(A[i][j]);
    return a;
}

}  // namespace testmat
