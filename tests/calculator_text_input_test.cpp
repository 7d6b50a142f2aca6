// Reading matrices from box text: the field splitter, the decimal conversion, the counts,
// the parse by line number, and the echo commands end to end.
#include <gtest/gtest.h>

#include <locale.h>
#include <cfenv>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "calc_error.h"
#include "form.h"
#include "fp_guard.h"
#include "text_input.h"

namespace {

using Fields = std::vector<std::string>;

Fields Split(std::string_view line) {
    Fields out;
    std::string scratch;
    ForEachField(line, scratch, [&](std::string_view f) {
        out.emplace_back(f);
        return true;
    });
    return out;
}

// ---- splitter -----------------------------------------------------------------------------

struct SplitCase {
    const char* name;
    std::string line;
    Fields fields;
};

const SplitCase kSplitCases[] = {
    {"Empty", "", {}},
    {"OnlyBlanks", "   \t ", {}},
    {"Plain", "1 2 3", {"1", "2", "3"}},
    {"RunsOfSeparatorsAndEdges", "\t 1\t\t2  3 \t", {"1", "2", "3"}},
    {"EveryControlCodeSeparates",
     "a\x01"
     "b\x1f"
     "c\r"
     "d\x0b"
     "e",
     {"a", "b", "c", "d", "e"}},
    {"PunctuationBelongsToField", "1,5;2 a.b", {"1,5;2", "a.b"}},
    {"HighBytesAreFieldText",
     "\xc3\xa9"
     "1 \x7f \xff",
     {"\xc3\xa9"
      "1",
      "\x7f", "\xff"}},
    {"ByteZeroIsFieldText", std::string("1\0 2", 4), {std::string("1\0", 2), "2"}},
    {"QuotedWithBlanks", "\" 1 2 \" 3", {" 1 2 ", "3"}},
    {"DoubledQuoteInside", "\"a\"\"b\" c", {"a\"b", "c"}},
    {"EmptyQuoted", "\"\" 5", {"", "5"}},
    {"OnlyQuotes", "\"\"\"\"", {"\""}},
    {"NextFieldRightAfterClosingQuote", "\"3\"4", {"3", "4"}},
    {"QuotedRightAfterQuoted", "\"1\"\"\" \"2\"", {"1\"", "2"}},
    {"UnclosedQuoteRunsToEnd", "1 \"2 3 4", {"1", "2 3 4"}},
    {"QuoteInsideUnquotedField", "x\"y z", {"x\"y", "z"}},
    {"TrailingLoneQuote", "7 \"", {"7", ""}},
};

class Splitter : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Splitter, FieldsAndCount) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(Split(c.line), c.fields);
    EXPECT_EQ(CountFields(c.line), static_cast<std::int32_t>(c.fields.size()));
}

INSTANTIATE_TEST_SUITE_P(Cases, Splitter, ::testing::ValuesIn(kSplitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SplitterStop, VisitorReturningFalseEndsTheSplit) {
    std::string scratch;
    Fields seen;
    ForEachField("a \"b\" c d", scratch, [&](std::string_view f) {
        seen.emplace_back(f);
        return seen.size() < 2;
    });
    EXPECT_EQ(seen, (Fields{"a", "b"}));
}

// ---- conversion ---------------------------------------------------------------------------

struct ValidCase {
    const char* text;
    char sep;
    Extended value;
};

const ValidCase kValid[] = {
    {"1", '.', 1},
    {"+1.5", '.', 1.5L},
    {"-2", '.', -2},
    {"  2  ", '.', 2},
    {"1.", '.', 1},
    {".5", '.', 0.5L},
    {"-.5", '.', -0.5L},
    {"1e3", '.', 1000},
    {"1E+3", '.', 1000},
    {"25e-1", '.', 2.5L},
    {"0.1", '.', 0.1L},
    {"00012.5000", '.', 12.5L},
    {"0.000001", '.', 1e-6L},
    {"1234567890123456789", '.', 1234567890123456789.0L},
    {"18446744073709551615", '.', 18446744073709551615.0L},
    {"123456789012345678901234567890", '.', 123456789012345678901234567890.0L},
    {"3.14159265358979323846264338327950288", '.', 3.14159265358979323846264338327950288L},
    {"1e27", '.', 1e27L},
    {"1e28", '.', 1e28L},
    {"1e-27", '.', 1e-27L},
    {"1e-28", '.', 1e-28L},
    {"1e4932", '.', 1e4932L},
    {"1.18973149535723176502e4932", '.', LDBL_MAX},
    {"1e-4940", '.', 1e-4940L},  // a denormal
    {"0e999999999999", '.', 0},
    {"1,5", ',', 1.5L},
    {"-,25", ',', -0.25L},
    {"1,5e2", ',', 150},
    {"  7,  ", ',', 7},
};

TEST(Conversion, ValidTextsGiveTheNearestValue) {
    for (const auto& c : kValid) {
        Extended v = -12345;
        ASSERT_TRUE(TryTextToExtended(c.text, c.sep, v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(TextToExtended(c.text, c.sep), c.value) << c.text;
    }
}

TEST(Conversion, BelowTheRangeGivesSignedZero) {
    const struct {
        const char* text;
        bool negative;
    } cases[] = {
        {"0", false},       {"-0", true},       {"-0.000", true},
        {"1e-5000", false}, {"-1e-5000", true}, {"1e-99999999999999", false},
        {"-0e5", true},
    };
    for (const auto& c : cases) {
        const Extended v = TextToExtended(c.text, '.');
        EXPECT_EQ(v, 0) << c.text;
        EXPECT_EQ(std::signbit(v), c.negative) << c.text;
    }
}

TEST(Conversion, InvalidTextsThrowTheConversionError) {
    const struct {
        std::string text;
        char sep;
    } cases[] = {
        {"", '.'},
        {" ", '.'},
        {"+", '.'},
        {"-", '.'},
        {".", '.'},
        {"+.", '.'},
        {"1e", '.'},
        {"1e+", '.'},
        {"e5", '.'},
        {"--1", '.'},
        {"+-1", '.'},
        {"1..2", '.'},
        {"1.2.3", '.'},
        {"0x1p3", '.'},
        {"0x10", '.'},
        {"inf", '.'},
        {"nan", '.'},
        {"Infinity", '.'},
        {"1,5", '.'},
        {"1.5", ','},
        {"1 2", '.'},
        {"1d5", '.'},
        {"1e5.0", '.'},
        {"- 1", '.'},
        {"1e5000", '.'},
        {"-1e5000", '.'},
        {"1e99999999999", '.'},
        {"1.2e4932", '.'},
        {"\t1", '.'},
        {"1\t", '.'},
        {std::string("1\0", 2), '.'},
        {"\xef\xbc\x91", '.'},  // a full-width digit
    };
    for (const auto& c : cases) {
        Extended v = 42;
        EXPECT_FALSE(TryTextToExtended(c.text, c.sep, v)) << c.text;
        EXPECT_EQ(v, 42) << "failed conversion changed the value: " << c.text;
        try {
            TextToExtended(c.text, c.sep);
            ADD_FAILURE() << "no error for '" << c.text << "'";
        } catch (const CalcError& e) {
            // The message quotes the whole text, a byte 0 included.
            EXPECT_EQ(e.message(), "'" + c.text + "' is not a valid floating point value")
                << c.text.substr(0, c.text.find('\0'));
        }
    }
}

TEST(Conversion, RejectedOverflowLeavesNoFaultFlag) {
    for (const char* text : {"1e5000", "-1e99999", "1e-5000", "123456789012345678901e4940"}) {
        std::feclearexcept(FE_ALL_EXCEPT);
        Extended v;
        TryTextToExtended(text, '.', v);
        EXPECT_EQ(std::fetestexcept(kFaultFlags), 0) << text;
    }
}

// The exact short path and the general conversion must agree on every value.
TEST(Conversion, AgreesWithTheGeneralConversionOnRandomTexts) {
    const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int> len(1, 22), digit(0, 9), expo(-40, 40), coin(0, 3);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        if (coin(rng) == 0) text += '-';
        const int n = len(rng);
        const int point = std::uniform_int_distribution<int>(0, n)(rng);
        for (int d = 0; d < n; ++d) {
            if (d == point) text += '.';
            text += static_cast<char>('0' + digit(rng));
        }
        if (coin(rng) != 0) text += "e" + std::to_string(expo(rng));
        const Extended expected = strtold_l(text.c_str(), nullptr, c_locale);
        Extended v;
        ASSERT_TRUE(TryTextToExtended(text, '.', v)) << text;
        ASSERT_EQ(v, expected) << text;
        ASSERT_EQ(std::signbit(v), std::signbit(expected)) << text;
        // The same text with a comma separator reads the same.
        std::string comma = text;
        for (char& ch : comma)
            if (ch == '.') ch = ',';
        ASSERT_EQ(TextToExtended(comma, ','), expected) << comma;
    }
    freelocale(c_locale);
}

// ---- counts ---------------------------------------------------------------------------------

TEST(Counts, RowsAndColumnsOfBoxes) {
    const struct {
        const char* name;
        Lines box;
        std::int32_t rows, cols;
    } cases[] = {
        {"EmptyBox", {}, 0, 0},
        {"OnlyEmptyLines", {"", ""}, 0, 0},
        {"Identity", {"1 0 0", "0 1 0", "0 0 1"}, 3, 3},
        {"LastNonEmptyLineDecides", {"1 2 3", "4", "", ""}, 2, 1},
        {"OtherLinesNotCompared", {"1", "2 3"}, 2, 2},
        {"BlankLineIsNotEmpty", {"1 2", "   "}, 2, 0},
        {"EmptyLinesBetween", {"1 2", "", "3 4", "5 6"}, 3, 2},
        {"QuotedFieldsCount", {"\"1 2\" 3"}, 1, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountRows(c.box), c.rows) << c.name;
        EXPECT_EQ(CountCols(c.box), c.cols) << c.name;
    }
}

TEST(SplitLines, BreaksAtLineFeeds) {
    const struct {
        const char* text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"1 2", {"1 2"}},
        {"1 2\n3 4\n", {"1 2", "3 4"}},
        {"1\r\n\r\n2", {"1", "", "2"}},
        {"\n", {""}},
        {"a\rb\n", {"a\rb"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

// ---- parse ----------------------------------------------------------------------------------

// The parse into a target sized r x c and pre-filled with a sentinel: every element must be
// either read or cleared to 0.
class Parse : public ::testing::Test {
  protected:
    RCOMat target;
    RCOMat Read(const Lines& box, char sep = '.') {
        const std::int32_t r = CountRows(box), c = CountCols(box);
        SetSize(target, r, c);
        for (auto& row : target)
            for (auto& x : row) x = -777;
        ParseMatrix(box, r, c, "Matrix(A)", sep, target);
        return target;
    }
    // The order of the store calls, and the error that ended the parse ("" when none).
    std::pair<std::vector<std::pair<int, int>>, std::string> Trace(const Lines& box) {
        std::vector<std::pair<int, int>> calls;
        std::string error;
        try {
            ParseFields(box, CountRows(box), CountCols(box), "Matrix(B)", '.',
                        [&](std::int32_t i, std::int32_t j, Extended) {
                            calls.emplace_back(i, j);
                            return true;
                        });
        } catch (const CalcError& e) {
            error = e.message();
        }
        return {calls, error};
    }
};

TEST_F(Parse, ReadsRowsByLineNumber) {
    const struct {
        const char* name;
        Lines box;
        RCOMat expected;
    } cases[] = {
        {"Identity", {"1 0", "0 1"}, {{1, 0}, {0, 1}}},
        {"ShortRowsReadAsZeros", {"1", "2 3"}, {{1, 0}, {2, 3}}},
        {"EmptyLineReadsAsZeroRowLastLineUnread",
         {"1 2", "", "3 4", "5 6"},
         {{1, 2}, {0, 0}, {3, 4}}},
        {"TrailingEmptyLinesChangeNothing", {"1 2", "3 4", "", ""}, {{1, 2}, {3, 4}}},
        {"QuotedAndControlSeparated", {"\" -1.5 \"\t2", "3\x01\"4\""}, {{-1.5L, 2}, {3, 4}}},
        {"NoColumns", {"   "}, {{}}},
        {"EmptyBox", {}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.box), c.expected) << c.name;
}

TEST_F(Parse, CommaSeparator) {
    EXPECT_EQ(Read({"1,5 -2", "3,25 4e1"}, ','), (RCOMat{{1.5L, -2}, {3.25L, 40}}));
}

TEST_F(Parse, LongLineRaisedBeforeConvertingItsFields) {
    const struct {
        const char* name;
        Lines box;
        std::vector<std::pair<int, int>> calls;
        const char* error;
    } cases[] = {
        {"Plural",
         {"1 2", "x y z", "3 4"},
         {{0, 0}, {0, 1}},
         "Line 2 of Matrix(B) has 3 elements, but the matrix has 2 columns"},
        {"OneColumn",
         {"1 2", "5"},
         {},
         "Line 1 of Matrix(B) has 2 elements, but the matrix has 1 column"},
        {"OneElement",
         {"5", "   "},
         {},
         "Line 1 of Matrix(B) has 1 element, but the matrix has 0 columns"},
        {"ConversionEndsTheParse",
         {"1 2", "3 bad", "4 5"},
         {{0, 0}, {0, 1}, {1, 0}},
         "'bad' is not a valid floating point value"},
        {"QuotedFieldInMessageUnquoted",
         {"\"1 x\""},
         {},
         "'1 x' is not a valid floating point value"},
        {"UnreadLineIsNotChecked", {"1", "", "2", "3 4 5 x"}, {{0, 0}, {2, 0}}, ""},
    };
    for (const auto& c : cases) {
        const auto [calls, error] = Trace(c.box);
        EXPECT_EQ(calls, c.calls) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
}

TEST_F(Parse, StoreReturningFalseStopsTheParse) {
    int calls = 0;
    ParseFields(Lines{"1 2", "3 4"}, 2, 2, "Matrix(A)", '.',
                [&](std::int32_t, std::int32_t, Extended) { return ++calls < 3; });
    EXPECT_EQ(calls, 3);
}

// ---- the echo commands ----------------------------------------------------------------------

class Echo : public ::testing::Test {
  protected:
    TForm1 form;
    std::vector<std::string> errors;
    bool Run(void (TForm1::*handler)()) {
        return Dispatch(form, handler, [&](const std::string& m) { errors.push_back(m); });
    }
};

TEST_F(Echo, TranscriptsOfA) {
    const struct {
        const char* name;
        Lines box;
        char sep;
        const char* precision;
        Lines result;
    } cases[] = {
        {"Identity",
         {"1 0 0", "0 1 0", "0 0 1"},
         '.',
         "3",
         {"A=", "          1          0          0", "          0          1          0",
          "          0          0          1", ""}},
        {"LineNumberReading",
         {"1 2", "", "3 4", "5 6"},
         '.',
         "3",
         {"A=", "          1          2", "          0          0", "          3          4", ""}},
        {"RoundedAndComma",
         {"0,0625 -1234,5678", "1e16 \"2,5\""},
         ',',
         "3",
         {"A=", "      0,062  -1234,568", "       1E16        2,5", ""}},
        {"ExponentModeShiftsColumns",
         {"-1234.56 1"},
         '.',
         "e",
         {"A=", " -1.235E+003 1.000E+000", ""}},
        {"EmptyBox", {}, '.', "3", {"A=", ""}},
        {"RowsWithoutColumns", {"1", "  "}, '.', "3", {}},  // long line: an error
    };
    for (const auto& c : cases) {
        form.RichEdit3.clear();
        errors.clear();
        form.RichEdit1 = c.box;
        form.DecimalSeparator = c.sep;
        form.ComboBox1 = c.precision;
        ASSERT_TRUE(Run(&TForm1::ComboBox1Change)) << c.name;
        const bool ok = Run(&TForm1::SpeedButton1Click);
        if (c.result.empty()) {
            EXPECT_FALSE(ok) << c.name;
            EXPECT_EQ(form.RichEdit3, Lines{"A"}) << c.name;
        } else {
            EXPECT_TRUE(ok) << c.name << ": " << (errors.empty() ? "" : errors[0]);
            EXPECT_EQ(form.RichEdit3, c.result) << c.name;
        }
        EXPECT_EQ(form.ResultKind, 0) << c.name;
    }
}

TEST_F(Echo, BEchoesTheSecondBoxAfterEarlierOutput) {
    form.RichEdit2 = {"2.5 3"};
    ASSERT_TRUE(Run(&TForm1::SpeedButton1Click));
    ASSERT_TRUE(Run(&TForm1::SpeedButton5Click));
    const Lines expected = {"A=",
                            "          1          0          0",
                            "          0          1          0",
                            "          0          0          1",
                            "",
                            "B=",
                            "        2.5          3",
                            ""};
    EXPECT_EQ(form.RichEdit3, expected);
    EXPECT_EQ(form.ResultRows, 1);
    EXPECT_EQ(form.ResultCols, 2);
}

TEST_F(Echo, ErrorsLeaveTheLabelLineAndReportTheMessage) {
    const struct {
        Lines box;
        const char* message;
    } cases[] = {
        {{"1 2", "3 x"}, "'x' is not a valid floating point value."},
        {{"1 2 3", "4 5"}, "Line 1 of Matrix(B) has 3 elements, but the matrix has 2 columns."},
        {{"1e5000"}, "'1e5000' is not a valid floating point value."},
        {{"1,5"}, "'1,5' is not a valid floating point value."},
    };
    for (const auto& c : cases) {
        form.RichEdit3 = {"earlier"};
        errors.clear();
        form.RichEdit2 = c.box;
        EXPECT_FALSE(Run(&TForm1::SpeedButton5Click));
        EXPECT_EQ(errors, std::vector<std::string>{c.message});
        EXPECT_EQ(form.RichEdit3, (Lines{"earlier", "B"}));
    }
}

}  // namespace
