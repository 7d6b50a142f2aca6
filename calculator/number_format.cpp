// Printing numbers.  Both modes work on a decimal digit string: the value's exact binary
// expansion is first rounded correctly (ties to even) to 18 significant digits, and that
// digit string is then rounded again, half away from zero, to 15 digits (general format) or
// 4 digits (exponent format).  The 18 digits come from 128-bit integer arithmetic for
// magnitudes from about 10^-2 to 10^38, and from std::to_chars (locale-free) elsewhere.
//
// The rounded mode has a fast path for the usual scales 1, 10, ..., 10^27: there z = k / scale
// is within half a unit of its 80-bit last place of the decimal k * 10^-q, and that error is far
// below half a unit of the 18th digit, so the 18-digit expansion of z is the digit string of k
// itself whenever k has at most 18 digits.  This avoids the binary-to-decimal conversion for
// nearly every cell.
//
// No step may raise a floating-point fault flag (overflow, invalid, division by zero): the
// command that prints tests the flags afterwards and would report a fault that did not happen.
// Ranges are therefore checked on binary exponents (frexpl, which raises nothing) before any
// product, quotient or integer conversion.
#include "number_format.h"

#include "decimal_powers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "text_input.h"

namespace number_format_detail {

namespace {

using u128 = unsigned __int128;

constexpr std::uint64_t kTen18 = 1000000000000000000ULL;

struct Pow10Table {
    u128 p[39];  // 10^0 .. 10^38, all below 2^127
    constexpr Pow10Table() : p{} {
        u128 s = 1;
        for (int i = 0; i < 39; ++i) {
            p[i] = s;
            s *= 10;
        }
    }
};
constexpr Pow10Table kPow10Int;

// num / den rounded to the nearest integer, a tie to the even one; den < 2^127.
u128 DivideRounded(u128 num, u128 den) {
    u128 q = num / den;
    const u128 r = num - q * den;
    if (2 * r > den || (2 * r == den && (q & 1) != 0)) ++q;
    return q;
}

// round(|x| * 10^(17 - k)) for |x| = m * 2^e; false when the 128-bit arithmetic cannot
// hold it exactly.
bool Scaled(std::uint64_t m, int e, int k, u128& out) {
    const int q = 17 - k;
    if (q >= 0) {
        if (q > 19 || e >= 0 || e <= -128) return false;
        const u128 prod = static_cast<u128>(m) * kPow10Int.p[q];  // < 2^64 * 10^19 < 2^128
        const int s = -e;
        u128 d = prod >> s;
        const u128 rem = prod & ((static_cast<u128>(1) << s) - 1);
        const u128 half = static_cast<u128>(1) << (s - 1);
        if (rem > half || (rem == half && (d & 1) != 0)) ++d;
        out = d;
        return true;
    }
    const int p = -q;
    if (p > 38) return false;
    if (e >= 0) {
        if (e > 63) return false;
        out = DivideRounded(static_cast<u128>(m) << e, kPow10Int.p[p]);
        return true;
    }
    if (p > 19 || e < -60) return false;
    out = DivideRounded(m, kPow10Int.p[p] << -e);
    return true;
}

}  // namespace

bool Digits18(Extended ax, std::uint64_t& digits, int& exp10) {
    // The 80-bit layout: 64-bit significand with its leading bit explicit, then sign and a
    // 15-bit biased exponent.  |x| = m * 2^(biased - 16383 - 63) for a normal number.
    std::uint64_t m = 0;
    std::uint16_t se = 0;
    std::memcpy(&m, &ax, sizeof m);
    std::memcpy(&se, reinterpret_cast<const char*>(&ax) + sizeof m, sizeof se);
    const int biased = se & 0x7fff;
    if (biased == 0 || biased == 0x7fff || (m >> 63) == 0) return false;
    const int e = biased - 16383 - 63;
    // 2^(b-1) <= |x| < 2^b with b = e + 64; k estimates floor(log10 |x|) from below, and
    // is at most one too small (78913 / 2^18 is log10(2) to about 6 digits).
    const int b = e + 64;
    int k = ((b - 1) * 78913) >> 18;
    u128 d = 0;
    if (!Scaled(m, e, k, d)) return false;
    if (d >= kTen18) {
        // k was one too small, or |x| rounds up to the next power of ten: one digit less
        // of scaling gives 10^17 then, which is the correct 18-digit result.
        ++k;
        if (!Scaled(m, e, k, d)) return false;
    }
    if (d < kTen18 / 10 || d >= kTen18) return false;  // the estimate was off after all
    digits = static_cast<std::uint64_t>(d);
    exp10 = k + 1;
    return true;
}

}  // namespace number_format_detail

namespace {

// A decimal value as the formatter sees it: value = 0.d1 d2 ... dn x 10^exp10, d1 != 0
// (n = 0 for zero); after RoundDigits it has no trailing zeros.
struct Decimal {
    bool negative = false;
    int n = 0;
    int exp10 = 0;
    char digits[24];
};

// Rounds the n digits of d to `keep` digits, half away from zero (a digit 5 or more in
// place keep+1 rounds the magnitude up), then drops trailing zeros.
void RoundDigits(Decimal& d, int keep) {
    if (d.n > keep) {
        const bool up = d.digits[keep] >= '5';
        d.n = keep;
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d.digits[i] == '9') {
                d.digits[i] = '0';
                --i;
            }
            if (i >= 0) {
                ++d.digits[i];
            } else {
                // 99..9 carried out: the value is 10^exp10.
                d.digits[0] = '1';
                d.n = 1;
                ++d.exp10;
            }
        }
    }
    while (d.n > 0 && d.digits[d.n - 1] == '0') --d.n;
}

// The exact binary value of a finite, non-zero x correctly rounded to 18 significant digits.
Decimal Expand18(Extended x) {
    Decimal d;
    d.negative = std::signbit(x);
    std::uint64_t digits = 0;
    int exp10 = 0;
    if (number_format_detail::Digits18(fabsl(x), digits, exp10)) {
        std::to_chars(d.digits, d.digits + sizeof d.digits, digits);
        d.n = 18;
        d.exp10 = exp10;
        return d;
    }
    char text[48];
    // Form: [-]d.ddddddddddddddddde[+-]xx..
    const auto res = std::to_chars(text, text + sizeof text, x, std::chars_format::scientific, 17);
    const char* p = text + (d.negative ? 1 : 0);
    d.digits[0] = *p++;
    ++p;  // '.'
    std::memcpy(d.digits + 1, p, 17);
    p += 17;
    d.n = 18;
    ++p;  // 'e'
    const bool neg_exp = *p == '-';
    ++p;
    int e = 0;
    std::from_chars(p, res.ptr, e);
    d.exp10 = (neg_exp ? -e : e) + 1;
    return d;
}

char* PutUnsigned(char* out, unsigned v, int min_digits) {
    char tmp[16];
    int n = 0;
    do {
        tmp[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n < min_digits) tmp[n++] = '0';
    while (n > 0) *out++ = tmp[--n];
    return out;
}

// The general layout of a rounded decimal (at most 15 digits).
std::size_t PutGeneral(char* buf, const Decimal& d, char sep) {
    char* out = buf;
    if (d.n == 0) {
        *out++ = '0';
        return 1;
    }
    if (d.negative) *out++ = '-';
    const int e = d.exp10;
    if (e >= -3 && e <= 15) {
        int used = 0;
        if (e <= 0) {
            *out++ = '0';
        } else {
            for (; used < e; ++used) *out++ = used < d.n ? d.digits[used] : '0';
        }
        if (used < d.n) {
            *out++ = sep;
            for (int z = e; z < 0; ++z) *out++ = '0';
            for (; used < d.n; ++used) *out++ = d.digits[used];
        }
    } else {
        *out++ = d.digits[0];
        if (d.n > 1) {
            *out++ = sep;
            for (int i = 1; i < d.n; ++i) *out++ = d.digits[i];
        }
        *out++ = 'E';
        const int x = e - 1;
        if (x < 0) *out++ = '-';
        out = PutUnsigned(out, static_cast<unsigned>(x < 0 ? -x : x), 1);
    }
    return static_cast<std::size_t>(out - buf);
}

// Text of an infinity or a NaN (only seen after a fault the caller reports).
std::size_t PutSpecial(char* buf, Extended x) {
    const char* text = std::isnan(x) ? "NAN" : (std::signbit(x) ? "-INF" : "INF");
    const std::size_t len = std::strlen(text);
    std::memcpy(buf, text, len);
    return len;
}

std::size_t FormatExponentTo(char* buf, Extended x, char sep) {
    if (!std::isfinite(x)) return PutSpecial(buf, x);
    if (x == 0) {
        static constexpr char kZero[] = "0.000E+000";
        std::memcpy(buf, kZero, sizeof kZero - 1);
        buf[1] = sep;
        return sizeof kZero - 1;
    }
    Decimal d = Expand18(x);
    RoundDigits(d, 4);
    char* out = buf;
    if (d.negative) *out++ = '-';
    *out++ = d.digits[0];
    *out++ = sep;
    for (int i = 1; i < 4; ++i) *out++ = i < d.n ? d.digits[i] : '0';
    *out++ = 'E';
    const int e = d.exp10 - 1;
    *out++ = e < 0 ? '-' : '+';
    out = PutUnsigned(out, static_cast<unsigned>(e < 0 ? -e : e), 3);
    return static_cast<std::size_t>(out - buf);
}

// q when scale is exactly 10^q for 0 <= q < kExactPowers, else -1.
int ExactPowerOfTen(Extended scale) {
    for (int q = 0; q < kExactPowers && kPow10.p[q] <= scale; ++q)
        if (kPow10.p[q] == scale) return q;
    return -1;
}

}  // namespace

std::size_t FormatGeneralTo(char* buf, Extended z, char sep) {
    if (!std::isfinite(z)) return PutSpecial(buf, z);
    if (z == 0) {
        buf[0] = '0';
        return 1;
    }
    Decimal d = Expand18(z);
    RoundDigits(d, 15);
    return PutGeneral(buf, d, sep);
}

std::size_t FormatNumberTo(char* buf, Extended x, Extended scale, char sep) {
    if (scale == 0) return FormatExponentTo(buf, x, sep);
    if (!std::isfinite(x) || !std::isfinite(scale)) return FormatGeneralTo(buf, x, sep);
    if (x == 0) return FormatGeneralTo(buf, 0, sep);

    // |x| < 2^ex and |scale| < 2^es, so |x * scale| < 2^(ex + es).
    int ex = 0, es = 0;
    frexpl(x, &ex);
    frexpl(scale, &es);
    if (ex + es <= -1) return FormatGeneralTo(buf, 0, sep);  // |y| < 1/2 rounds to 0
    // |y| >= 2^(ex + es - 2) > 2^63 here: no 64-bit integer (an overflowing product too).
    // Below this bound the product stays finite and the rounded value is tested instead.
    if (ex + es > 66) return FormatGeneralTo(buf, x, sep);

    const Extended y = x * scale;
    // y rounds (half to even) into the 64-bit range exactly when -2^63 <= y < 2^63 - 1/2:
    // 2^63 - 1/2 itself is a tie that goes to the even 2^63.  Only then is the rounding
    // conversion done, so it never raises the invalid-operation flag.
    if (!(y < 0x1p63L - 0.5L && y >= -0x1p63L)) return FormatGeneralTo(buf, x, sep);
    const std::int64_t k = llrintl(y);
    if (k == 0) return FormatGeneralTo(buf, 0, sep);
    const std::uint64_t mag =
        k < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(k) : static_cast<std::uint64_t>(k);

    const int q = ExactPowerOfTen(scale);
    if (q >= 0 && mag < 1000000000000000000ULL) {
        // z = k / 10^q: its 18-digit expansion is the digit string of k.
        Decimal d;
        d.negative = k < 0;
        const auto res = std::to_chars(d.digits, d.digits + sizeof d.digits, mag);
        d.n = static_cast<int>(res.ptr - d.digits);
        d.exp10 = d.n - q;
        RoundDigits(d, 15);
        return PutGeneral(buf, d, sep);
    }

    // |z| < 2^(ek - es + 1); a quotient that would overflow (only for a denormal scale)
    // prints x itself, as an unroundable product does.
    int ek = 0;
    frexpl(static_cast<Extended>(k), &ek);
    if (ek - es + 1 > 16383) return FormatGeneralTo(buf, x, sep);
    const Extended z = static_cast<Extended>(k) / scale;
    return FormatGeneralTo(buf, z, sep);
}

std::string FormatNumber(Extended x, Extended scale, char sep) {
    char buf[kMaxNumberText];
    return std::string(buf, FormatNumberTo(buf, x, scale, sep));
}

Extended PrecisionScaleFromText(std::string_view text, char sep) {
    if (text == "e") return 0;
    const Extended p = TextToExtended(text, sep);
    if (p == truncl(p) && fabsl(p) < kExactPowers) {
        // A whole number of places: the power of ten exact (or, for a negative p, the
        // correctly rounded reciprocal of the exact power).
        const int q = static_cast<int>(fabsl(p));
        return p < 0 ? 1 / kPow10.p[q] : kPow10.p[q];
    }
    return powl(10, p);
}
