// Field splitting, the strict decimal conversion, and counting box lines.
#include "text_input.h"

#include "decimal_powers.h"

#include <locale.h>
#include <cfenv>
#include <clocale>
#include <cmath>
#include <cstdlib>

#include "fp_guard.h"

namespace text_input_detail {

void ThrowLongLine(std::int32_t line, std::string_view boxName, std::int32_t fields,
                   std::int32_t cols) {
    std::string msg = "Line " + std::to_string(line) + " of " + std::string(boxName) + " has " +
                      std::to_string(fields) + (fields == 1 ? " element" : " elements") +
                      ", but the matrix has " + std::to_string(cols) +
                      (cols == 1 ? " column" : " columns");
    throw CalcError(msg);
}

}  // namespace text_input_detail

namespace {

// Blanks may stand around a number (only a quoted field can hold them).
bool IsBlank(char ch) {
    return ch == ' ';
}
bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// The C locale, for a conversion that never depends on the process's locale.
locale_t CLocale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Most significant digits that always fit an unsigned 64-bit integer.
constexpr int kFastDigits = 19;
// An exponent beyond this magnitude gives an infinity or a zero whatever the digits; it only
// has to be kept from overflowing the int.
constexpr int kExponentCap = 100000;

// The general conversion of a checked number text [begin, end) through strtold in the C
// locale; `sep` becomes '.'.  A fault flag the conversion raises (an overflow for a value
// beyond the range) is taken back: the caller reports the failure as a conversion error.
bool SlowConvert(const char* begin, const char* end, char sep, Extended& value) {
    char small[128];
    std::string big;
    const std::size_t len = static_cast<std::size_t>(end - begin);
    char* buf = small;
    if (len + 1 > sizeof small) {
        big.resize(len + 1);
        buf = big.data();
    }
    for (std::size_t i = 0; i < len; ++i) buf[i] = begin[i] == sep ? '.' : begin[i];
    buf[len] = '\0';
    fexcept_t saved;
    std::fegetexceptflag(&saved, kFaultFlags);
    char* stop = nullptr;
    const Extended v = strtold_l(buf, &stop, CLocale());
    std::fesetexceptflag(&saved, kFaultFlags);
    if (stop != buf + len) return false;
    if (std::isinf(v)) return false;  // beyond the 80-bit range
    value = v;                        // below the range: a denormal or a signed zero
    return true;
}

}  // namespace

std::int32_t CountFields(std::string_view line) {
    std::string scratch;
    std::int32_t count = 0;
    ForEachField(line, scratch, [&](std::string_view) {
        ++count;
        return true;
    });
    return count;
}

bool TryTextToExtended(std::string_view text, char sep, Extended& value) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && IsBlank(*p)) ++p;
    while (end > p && IsBlank(end[-1])) --end;
    const char* const begin = p;

    // Check the grammar and gather the first significant digits as an integer m, with
    // value = m * 10^(shift + exponent) when no significant digit was left out.
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    std::uint64_t m = 0;
    int significant = 0, shift = 0, digits = 0;
    bool seen_sep = false, exact = true;
    for (; p < end; ++p) {
        const char ch = *p;
        if (IsDigit(ch)) {
            ++digits;
            if (m == 0 && ch == '0') {
                if (seen_sep) --shift;  // a leading zero only moves the point
            } else if (significant < kFastDigits) {
                m = m * 10 + static_cast<std::uint64_t>(ch - '0');
                ++significant;
                if (seen_sep) --shift;
            } else {
                exact = false;
            }
        } else if (ch == sep && !seen_sep) {
            seen_sep = true;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    int exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool exp_negative = false;
        if (p < end && (*p == '+' || *p == '-')) exp_negative = *p++ == '-';
        const char* const exp_digits = p;
        for (; p < end && IsDigit(*p); ++p)
            if (exponent < kExponentCap) exponent = exponent * 10 + (*p - '0');
        if (p == exp_digits) return false;
        if (exp_negative) exponent = -exponent;
    }
    if (p != end) return false;

    if (m == 0) {
        // Only zero digits: a signed zero whatever the exponent.
        value = negative ? -Extended(0) : Extended(0);
        return true;
    }
    const int e = shift + exponent;
    if (exact && e > -kExactPowers && e < kExactPowers) {
        // m and 10^|e| are both exact, so one product or quotient gives the nearest value.
        const Extended mm = static_cast<Extended>(m);
        const Extended v = e >= 0 ? mm * kPow10.p[e] : mm / kPow10.p[-e];
        value = negative ? -v : v;
        return true;
    }
    return SlowConvert(begin, end, sep, value);
}

Extended TextToExtended(std::string_view text, char sep) {
    Extended v;
    if (!TryTextToExtended(text, sep, v))
        throw CalcError("'" + std::string(text) + "' is not a valid floating point value");
    return v;
}

std::int32_t CountRows(const Lines& box) {
    std::int32_t rows = 0;
    for (const auto& line : box)
        if (!line.empty()) ++rows;
    return rows;
}

std::int32_t CountCols(const Lines& box) {
    for (auto it = box.rbegin(); it != box.rend(); ++it)
        if (!it->empty()) return CountFields(*it);
    return 0;
}

void ParseMatrix(const Lines& box, std::int32_t r, std::int32_t c, std::string_view boxName,
                 char sep, RCOMat& target) {
    for (auto& row : target) std::fill(row.begin(), row.end(), Extended(0));
    ParseFields(box, r, c, boxName, sep, [&](std::int32_t i, std::int32_t j, Extended v) {
        target[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = v;
        return true;
    });
}

Lines SplitLines(std::string_view text) {
    Lines lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        const std::size_t stop = nl == std::string_view::npos ? text.size() : nl;
        std::size_t len = stop - start;
        if (len > 0 && text[start + len - 1] == '\r' && nl != std::string_view::npos) --len;
        lines.emplace_back(text.substr(start, len));
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
    return lines;
}
