// Powers of ten that the 80-bit extended real holds exactly.
#pragma once

#include "matrix.h"

// 10^0 .. 10^27: every one is exact in the 64-bit significand (5^27 < 2^64).
inline constexpr int kExactPowers = 28;

struct ExactPowersOfTen {
    Extended p[kExactPowers];
    constexpr ExactPowersOfTen() : p{} {
        Extended s = 1;
        for (int i = 0; i < kExactPowers; ++i) {
            p[i] = s;
            s *= 10;
        }
    }
};

inline constexpr ExactPowersOfTen kPow10;
