// Robustness of reading and echoing arbitrary box text: seeded random bytes (every code
// 0..255), quotes, number-like fragments, long and many lines, either separator and any
// precision.  Every echo must either print the matrix or report exactly one known error,
// and never crash or leave a half-finished transcript.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "form.h"
#include "text_input.h"

namespace {

class BoxGenerator {
  public:
    explicit BoxGenerator(std::uint64_t seed) : rng_(seed) {}

    Lines Box() {
        Lines box(Pick(0, Pick(0, 4) == 0 ? 40 : 6));
        for (auto& line : box) line = Line();
        return box;
    }
    char Separator() { return Pick(0, 1) ? '.' : ','; }
    std::string Precision(char sep) {
        static const char* const kTexts[] = {"3", "0", "8", "e", "-2", "27", "1"};
        if (Pick(0, 7) == 0) return std::string("2") + sep + "5";
        return kTexts[Pick(0, 6)];
    }

  private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    std::string Line() {
        std::string line;
        if (Pick(0, 5) == 0) return line;  // an empty line
        const int pieces = Pick(0, 5) == 0 ? Pick(20, 300) : Pick(1, 8);
        for (int p = 0; p < pieces; ++p) {
            switch (Pick(0, 6)) {
                case 0:  // raw bytes of any code
                    for (int n = Pick(1, 6); n > 0; --n)
                        line.push_back(static_cast<char>(Pick(0, 255)));
                    break;
                case 1:
                    line.push_back('"');
                    break;
                case 2:
                    line.append(Pick(1, 3), " \t"[Pick(0, 1)]);
                    break;
                default:
                    line += Number();
                    line.push_back(' ');
                    break;
            }
        }
        return line;
    }

    // Number-like fragments: mostly valid, some broken.
    std::string Number() {
        static const char* const kOdd[] = {"1e",   "--1",  ".",      "+",   "1e5000", "-1e-5000",
                                           "inf",  "nan",  "0x1p3",  "1,5", "1.5",    "9e18",
                                           "1e16", "\"\"", "\"2\"3", "-0",  "1e4932", "\" 7 \""};
        if (Pick(0, 3) == 0) return kOdd[Pick(0, 17)];
        std::string s;
        if (Pick(0, 2) == 0) s.push_back('-');
        for (int n = Pick(1, 25); n > 0; --n) s.push_back(static_cast<char>('0' + Pick(0, 9)));
        if (Pick(0, 1))
            s.insert(s.size() - static_cast<std::size_t>(Pick(0, 1)), 1, "., "[Pick(0, 1)]);
        if (Pick(0, 2) == 0) {
            s.push_back('e');
            s += std::to_string(Pick(-30, 30));
        }
        return s;
    }

    std::mt19937_64 rng_;
};

// The conversion error quotes the whole field, byte 0 included.
bool KnownError(const std::string& m, bool /*box_has_nul*/) {
    auto ends_with = [&](const std::string& tail) {
        return m.size() >= tail.size() && m.compare(m.size() - tail.size(), tail.size(), tail) == 0;
    };
    return (m.rfind('\'', 0) == 0 && ends_with("' is not a valid floating point value.")) ||
           (m.rfind("Line ", 0) == 0 && ends_with(" columns.")) ||
           (m.rfind("Line ", 0) == 0 && ends_with(" column."));
}

TEST(Fuzz, EchoOfRandomBoxesPrintsOrReportsAnError) {
    BoxGenerator gen(0x5eed1234);
    TForm1 form;
    int printed = 0, reported = 0;
    for (int round = 0; round < 3000; ++round) {
        form.RichEdit3.clear();
        form.RichEdit1 = gen.Box();
        form.DecimalSeparator = gen.Separator();
        form.ComboBox1 = gen.Precision(form.DecimalSeparator);
        std::vector<std::string> errors;
        const auto sink = [&](const std::string& m) { errors.push_back(m); };
        ASSERT_TRUE(Dispatch(form, &TForm1::ComboBox1Change, sink)) << errors.at(0);

        const std::int32_t r = CountRows(form.RichEdit1);
        if (Dispatch(form, &TForm1::SpeedButton1Click, sink)) {
            ++printed;
            ASSERT_TRUE(errors.empty());
            // "A=", one line per row, one empty line.
            ASSERT_EQ(form.RichEdit3.size(), static_cast<std::size_t>(r) + 2) << round;
            EXPECT_EQ(form.RichEdit3.front(), "A=");
            EXPECT_EQ(form.RichEdit3.back(), "");
            const std::size_t cells = static_cast<std::size_t>(form.ResultCols);
            for (std::int32_t i = 0; i < r; ++i)
                EXPECT_GE(form.RichEdit3[static_cast<std::size_t>(i) + 1].size(), cells * 11);
        } else {
            ++reported;
            ASSERT_EQ(errors.size(), 1u);
            bool has_nul = false;
            for (const auto& line : form.RichEdit1)
                has_nul = has_nul || line.find('\0') != std::string::npos;
            EXPECT_TRUE(KnownError(errors[0], has_nul)) << errors[0];
            EXPECT_EQ(form.RichEdit3, Lines{"A"});  // the label line stays, nothing else
        }
        EXPECT_EQ(form.ResultKind, 0);
    }
    // Both outcomes must actually be exercised.
    EXPECT_GT(printed, 100);
    EXPECT_GT(reported, 100);
}

// The splitter and the counts on raw random lines: fields never hold a separator unless the
// field was quoted, and counting agrees with splitting.
TEST(Fuzz, SplitterAgreesWithCountOnRandomBytes) {
    std::mt19937_64 rng(99);
    std::uniform_int_distribution<int> byte(0, 255), len(0, 200);
    std::string scratch;
    for (int round = 0; round < 3000; ++round) {
        std::string line(static_cast<std::size_t>(len(rng)), '\0');
        for (char& ch : line) ch = static_cast<char>(byte(rng) < 40 ? ' ' : byte(rng));
        std::int32_t fields = 0;
        ForEachField(line, scratch, [&](std::string_view f) {
            ++fields;
            const bool quoted = f.data() == scratch.data();
            if (!quoted) {
                EXPECT_FALSE(f.empty());
                for (char ch : f) {
                    const auto u = static_cast<unsigned char>(ch);
                    EXPECT_TRUE(u == 0 || u > 32);
                }
            }
            return true;
        });
        EXPECT_EQ(fields, CountFields(line));
    }
}

}  // namespace
