// Placeholder formatter (to be replaced by the real rounded and exponent modes).
#include "number_format.h"

#include <cstdio>

#include "text_input.h"

std::size_t FormatGeneralTo(char* buf, Extended z, char) {
    return static_cast<std::size_t>(std::snprintf(buf, kMaxNumberText, "%.15Lg", z));
}

std::size_t FormatNumberTo(char* buf, Extended x, Extended, char sep) {
    return FormatGeneralTo(buf, x, sep);
}

std::string FormatNumber(Extended x, Extended scale, char sep) {
    char buf[kMaxNumberText];
    return std::string(buf, FormatNumberTo(buf, x, scale, sep));
}

Extended PrecisionScaleFromText(std::string_view text, char sep) {
    if (text == "e") return 0;
    Extended p = TextToExtended(text, sep);
    Extended s = 1;
    for (int i = 0; i < static_cast<int>(p); ++i) s *= 10;
    return s;
}
