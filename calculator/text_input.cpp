// Field splitting, the strict decimal conversion, and counting box lines.
#include "text_input.h"

#include <locale.h>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>

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

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}
bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// The C locale, for a conversion that never depends on the process's locale.
locale_t CLocale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
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
    std::size_t pos = 0, end = text.size();
    while (pos < end && IsBlank(text[pos])) ++pos;
    while (end > pos && IsBlank(text[end - 1])) --end;
    // Validate the grammar and copy it into a C-locale number text.
    char buf[512];
    std::string big;
    char* out = buf;
    const std::size_t len = end - pos;
    if (len == 0) return false;
    if (len + 1 > sizeof buf) {
        big.resize(len + 1);
        out = big.data();
    }
    char* const begin = out;
    std::size_t i = pos;
    if (text[i] == '+' || text[i] == '-') *out++ = text[i++];
    std::size_t digits = 0;
    bool seen_sep = false;
    for (; i < end; ++i) {
        const char ch = text[i];
        if (IsDigit(ch)) {
            ++digits;
            *out++ = ch;
        } else if (ch == sep && !seen_sep) {
            seen_sep = true;
            *out++ = '.';
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        *out++ = 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) *out++ = text[i++];
        std::size_t exp_digits = 0;
        while (i < end && IsDigit(text[i])) {
            *out++ = text[i++];
            ++exp_digits;
        }
        if (exp_digits == 0) return false;
    }
    if (i != end) return false;
    *out = '\0';
    errno = 0;
    char* stop = nullptr;
    const Extended v = strtold_l(begin, &stop, CLocale());
    if (stop != out) return false;
    if (std::isinf(v)) return false;  // beyond the 80-bit range
    value = v;                        // below the range: a denormal or a signed zero
    return true;
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
