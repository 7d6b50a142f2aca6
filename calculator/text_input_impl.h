// Template definitions of text_input.h.
#pragma once

#include <string>

#include "calc_error.h"

namespace text_input_detail {

inline bool IsSeparator(unsigned char ch) {
    return ch >= 1 && ch <= 32;
}

[[noreturn]] void ThrowLongLine(std::int32_t line, std::string_view boxName, std::int32_t fields,
                                std::int32_t cols);

}  // namespace text_input_detail

template <typename Visit>
void ForEachField(std::string_view line, std::string& scratch, Visit&& visit) {
    using text_input_detail::IsSeparator;
    const std::size_t n = line.size();
    std::size_t pos = 0;
    for (;;) {
        while (pos < n && IsSeparator(static_cast<unsigned char>(line[pos]))) ++pos;
        if (pos >= n) return;
        if (line[pos] == '"') {
            // Quoted field: "" inside stands for one quote; the field ends at the closing
            // quote and the next field starts right after it.
            scratch.clear();
            ++pos;
            while (pos < n) {
                if (line[pos] == '"') {
                    if (pos + 1 < n && line[pos + 1] == '"') {
                        scratch.push_back('"');
                        pos += 2;
                        continue;
                    }
                    ++pos;  // closing quote
                    break;
                }
                scratch.push_back(line[pos++]);
            }
            if (!visit(std::string_view(scratch))) return;
        } else {
            const std::size_t start = pos;
            while (pos < n && !IsSeparator(static_cast<unsigned char>(line[pos]))) ++pos;
            if (!visit(line.substr(start, pos - start))) return;
        }
    }
}

namespace text_input_detail {

// Reads lines 0 .. r-1 of the box by line number, converting each field right before it is
// stored.  With Pad, every position a line's fields leave unset is stored as 0 at its place
// in row-major order, before the next line is read.
template <bool Pad, typename Store>
void ParseLines(const Lines& box, std::int32_t r, std::int32_t c, std::string_view boxName,
                char sep, Store&& store) {
    std::string scratch;
    for (std::int32_t i = 0; i < r; ++i) {
        const std::string_view line = static_cast<std::size_t>(i) < box.size()
                                          ? std::string_view(box[static_cast<std::size_t>(i)])
                                          : std::string_view();
        const std::int32_t fields = CountFields(line);
        if (fields > c) ThrowLongLine(i + 1, boxName, fields, c);
        std::int32_t j = 0;
        bool go_on = true;
        ForEachField(line, scratch, [&](std::string_view field) {
            go_on = store(i, j, TextToExtended(field, sep));
            ++j;
            return go_on;
        });
        if (!go_on) return;
        if constexpr (Pad) {
            for (; j < c; ++j)
                if (!store(i, j, Extended(0))) return;
        }
    }
}

}  // namespace text_input_detail

template <typename Store>
void ParseFields(const Lines& box, std::int32_t r, std::int32_t c, std::string_view boxName,
                 char sep, Store&& store) {
    text_input_detail::ParseLines<false>(box, r, c, boxName, sep, store);
}

template <typename Store>
void ParseFieldsPadded(const Lines& box, std::int32_t r, std::int32_t c, std::string_view boxName,
                       char sep, Store&& store) {
    text_input_detail::ParseLines<true>(box, r, c, boxName, sep, store);
}
