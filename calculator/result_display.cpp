// ShowResult: completes the label line and prints the result store in the layout of
// ResultKind.  Every number goes through FormatNumber and is right-aligned in a cell.
#include <cstring>

#include "form.h"
#include "number_format.h"

namespace {

constexpr std::size_t kField = 10;  // cell width ("%10s")

// Appends the number's text right-aligned in the 10-character field; a longer text stays
// whole and pushes the rest of the line to the right.
void AppendField(std::string& line, Extended x, Extended scale, char sep) {
    char buf[kMaxNumberText];
    const std::size_t len = FormatNumberTo(buf, x, scale, sep);
    if (len < kField) line.append(kField - len, ' ');
    line.append(buf, len);
}

}  // namespace

std::string TForm1::FormatNumber(Extended x) const {
    return ::FormatNumber(x, PrecisionScale, DecimalSeparator);
}

void TForm1::ExtendLastLine(std::string_view text) {
    if (RichEdit3.empty()) RichEdit3.emplace_back();
    RichEdit3.back().append(text);
}

void TForm1::ShowResult() {
    PhaseTimer timer(Profile ? &Profile->format : nullptr);
    const Extended scale = PrecisionScale;
    const char sep = DecimalSeparator;
    // Matrix block: each row goes onto the empty last line, followed by a new empty line.
    auto block = [&](const RCOMat& M, std::int32_t m, std::int32_t n) {
        for (std::int32_t i = 0; i < m; ++i) {
            std::string& line = RichEdit3.back();
            line.reserve(line.size() + static_cast<std::size_t>(n) * (kField + 1));
            const RCOVec& row = M[static_cast<std::size_t>(i)];
            for (std::int32_t j = 0; j < n; ++j) {
                line.push_back(' ');
                AppendField(line, row[static_cast<std::size_t>(j)], scale, sep);
            }
            AppendLine({});
        }
    };
    auto heading = [&](const char* text) {
        AppendLine(text);
        AppendLine({});
    };
    auto value_line = [&](std::string line) {
        AppendLine(std::move(line));
        AppendLine({});
    };

    ExtendLastLine("=");
    AppendLine({});
    const std::int32_t R = ResultRows, C = ResultCols;
    const std::int32_t kind = ResultKind;
    if (kind >= 1 && kind <= 7) ResultKind = 0;
    switch (kind) {
        case 1: {
            std::string line = "   ";
            AppendField(line, ResultScalar, scale, sep);
            value_line(std::move(line));
            break;
        }
        case 2:
            value_line("       " + std::to_string(DimRows) + "*" + std::to_string(DimCols));
            break;
        case 3:
            heading("   Q:");
            block(ResultMatrix2, R, R);
            heading("   R:");
            block(ResultMatrix3, R, C);
            break;
        case 4:
        case 5:
            heading("   L:");
            block(ResultMatrix2, R, R);
            heading(kind == 4 ? "   U:" : "   D:");
            block(ResultMatrix3, R, C);
            break;
        case 6:
            heading("   U:");
            block(ResultMatrix2, R, R);
            heading("   S:");
            block(OperandA, R, C);
            heading("   V:");
            block(ResultMatrix3, C, C);
            break;
        case 7:
            AppendLine({});
            for (std::int32_t k = 1; k <= C; ++k) {
                const double re = EigenRe[static_cast<std::size_t>(k)];
                const double im = EigenIm[static_cast<std::size_t>(k)];
                if (im != 0) {
                    std::string line = " ";
                    AppendField(line, re, scale, sep);
                    line.push_back('+');
                    AppendField(line, im, scale, sep);
                    line.push_back('i');
                    AppendLine(std::move(line));
                } else {
                    // A real eigenvalue, zero included, gets the real line.
                    std::string line = " ";
                    AppendField(line, re, scale, sep);
                    AppendLine(std::move(line));
                }
            }
            AppendLine({});
            break;
        default:
            block(ResultMatrix, R, C);
            break;
    }
}
