// Printing numbers: the rounded mode (scale, round half-even to a 64-bit integer, divide,
// general 15-significant-digit format) and the exponent mode ("%1.4e" with a three-digit
// exponent), and the precision box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "matrix.h"

// Longest text FormatNumber can produce, plus room to spare.
inline constexpr std::size_t kMaxNumberText = 48;

// Writes the text of x into buf (at least kMaxNumberText bytes) and returns its length.
// scale = 0 selects the exponent mode; any other scale is the rounding scale
// (1000 = three decimal places).  When x * scale does not round to a signed 64-bit
// integer, x itself is printed in the general format.  Never raises a floating-point
// fault; a negative zero prints without a sign.
std::size_t FormatNumberTo(char* buf, Extended x, Extended scale, char sep);
std::string FormatNumber(Extended x, Extended scale, char sep);

// The general 15-significant-digit format of z ("0" for either zero).
std::size_t FormatGeneralTo(char* buf, Extended z, char sep);

// The rounding scale the precision box text selects: 0 for exactly "e", otherwise 10 raised
// to the converted text (exact powers of ten for whole numbers).  Throws the conversion
// error for a text that does not convert.
Extended PrecisionScaleFromText(std::string_view text, char sep);

namespace number_format_detail {
// The exact value of a positive finite ax correctly rounded (ties to even) to 18 significant
// digits by 128-bit integer arithmetic: ax ~ digits * 10^(exp10 - 18), 10^17 <= digits <
// 10^18.  Returns false outside the range it handles exactly (about 10^-2 to 10^38, and
// denormals); the formatter then uses the general binary-to-decimal conversion.
bool Digits18(Extended ax, std::uint64_t& digits, int& exp10);
}  // namespace number_format_detail
