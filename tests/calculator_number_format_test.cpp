// FormatNumber in both modes, the general format, the precision box text and its handler.
#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "calc_error.h"
#include "form.h"
#include "fp_guard.h"
#include "number_format.h"

namespace {

struct FormatCase {
    const char* name;
    Extended x;
    const char* precision;  // the precision box text
    const char* expected;
};

std::ostream& operator<<(std::ostream& os, const FormatCase& c) {
    return os << c.name;
}

const FormatCase kDotCases[] = {
    // Default precision "3".
    {"OneThird", 1.0L / 3, "3", "0.333"},
    {"TwoThirds", 2.0L / 3, "3", "0.667"},
    {"FourDecimals", 1234.5678L, "3", "1234.568"},
    {"Whole", 2, "3", "2"},
    {"NegativeWhole", -17, "3", "-17"},
    {"TinyRoundsToZero", 0.00001L, "3", "0"},
    {"NegativeTinyHasNoSign", -0.0001L, "3", "0"},
    {"NegativeZero", -0.0L, "3", "0"},
    {"NegativeFraction", -0.5L, "3", "-0.5"},
    // Halfway products go to the even integer.
    {"HalfEvenDown", 0.0625L, "3", "0.062"},
    {"HalfEvenUp", 0.1875L, "3", "0.188"},
    {"HalfEvenNegative", -0.0625L, "3", "-0.062"},
    {"QuarterOnePlace", 0.25L, "1", "0.2"},
    {"ThreeQuartersOnePlace", 0.75L, "1", "0.8"},
    {"TwoAndHalfWhole", 2.5L, "0", "2"},
    {"ThreeAndHalfWhole", 3.5L, "0", "4"},
    {"MinusHalfWhole", -0.5L, "0", "0"},
    {"MinusOneAndHalfWhole", -1.5L, "0", "-2"},
    // Fixed against scientific notation of the rounded value.
    {"BelowFixedRange", 0.00001234L, "8", "1.234E-5"},
    {"FixedRangeLowEdge", 0.0001L, "8", "0.0001"},
    {"FixedRangeHighEdge", 999999999999999.0L, "0", "999999999999999"},
    {"TenToFifteen", 1e15L, "0", "1E15"},
    {"ScientificDigits", 1.5e15L, "0", "1.5E15"},
    {"NegativeScientific", -1.25e15L, "0", "-1.25E15"},
    // Rounding to tens and to an irrational scale.
    {"RoundToTens", 1234.5L, "-1", "1230"},
    {"RoundToHundreds", 1250, "-2", "1200"},
    {"IrrationalScale", 1, "2.5", "0.999279740613208"},
    {"IrrationalScaleFraction", 0.5L, "2.5", "0.499639870306604"},
    // The 64-bit integer range: 2^63 - 1 is the last integer, -2^63 the first.
    {"LargestInteger", 9223372036854775807.0L, "0", "9.22337203685478E18"},
    {"SmallestInteger", -9223372036854775808.0L, "0", "-9.22337203685478E18"},
    // Beyond the 64-bit range the value prints unrounded.
    {"BeyondRangeDefault", 1e16L, "3", "1E16"},
    {"BeyondRangeNegative", -2.5e16L, "3", "-2.5E16"},
    {"BeyondRangeEightPlaces", 123456789012.125L, "8", "123456789012.125"},
    {"ProductOverflows", 1e4000L, "8", "1E4000"},
    {"ProductOverflowsLarge", 1e4000L, "27", "1E4000"},
    {"LargestFinite", LDBL_MAX, "3", "1.18973149535723E4932"},
    {"SmallestDenormal", std::numeric_limits<Extended>::denorm_min(), "3", "0"},
    // Exponent mode.
    {"ExpFourDigits", 1234.56L, "e", "1.235E+003"},
    {"ExpNegativeSmall", -0.001L, "e", "-1.000E-003"},
    {"ExpZero", 0, "e", "0.000E+000"},
    {"ExpNegativeZero", -0.0L, "e", "0.000E+000"},
    {"ExpHalfAwayFromZero", 1.0625L, "e", "1.063E+000"},
    {"ExpNegativeHalfAway", -1.0625L, "e", "-1.063E+000"},
    {"ExpLarge", 1e300L, "e", "1.000E+300"},
    {"ExpBeyondDefaultRange", 1e16L, "e", "1.000E+016"},
    {"ExpCarryIntoExponent", 9.9995L, "e", "1.000E+001"},
    {"ExpNoCarry", 9.9994L, "e", "9.999E+000"},
    {"ExpFourDigitExponent", 1e4000L, "e", "1.000E+4000"},
    {"ExpDenormal", 1e-4940L, "e", "1.000E-4940"},
    {"ExpOne", 1, "e", "1.000E+000"},
};

class FormatNumberDot : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberDot, PrintsExpectedText) {
    const FormatCase& c = GetParam();
    const Extended scale = PrecisionScaleFromText(c.precision, '.');
    EXPECT_EQ(FormatNumber(c.x, scale, '.'), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatNumberDot, ::testing::ValuesIn(kDotCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatNumber, CommaSeparatorInEveryLayout) {
    const struct {
        Extended x;
        const char* precision;
        const char* expected;
    } cases[] = {
        {1234.5678L, "3", "1234,568"},
        {-0.5L, "3", "-0,5"},
        {0.00001234L, "8", "1,234E-5"},
        {1.5e15L, "0", "1,5E15"},
        {1234.56L, "e", "1,235E+003"},
        {0, "e", "0,000E+000"},
        {2, "3", "2"},
        {0.0001L, "8", "0,0001"},
    };
    for (const auto& c : cases) {
        const Extended scale = PrecisionScaleFromText(c.precision, ',');
        EXPECT_EQ(FormatNumber(c.x, scale, ','), c.expected) << c.expected;
    }
}

// The general format rounds the 18-digit expansion, not the exact value, to 15 digits with
// halves going away from zero.
TEST(FormatGeneral, FifteenDigitsFromEighteen) {
    const struct {
        Extended z;
        const char* expected;
    } cases[] = {
        {0.1L, "0.1"},
        {1.0L / 3, "0.333333333333333"},
        {2.0L / 3, "0.666666666666667"},
        {-2.0L / 3, "-0.666666666666667"},
        {123456789012345678.0L, "1.23456789012346E17"},
        {0.000123L, "0.000123"},
        {0.00009999999999999999L, "0.0001"},  // rounds up into the fixed range
        {1e-5L, "1E-5"},
        {99999999999999.95L, "100000000000000"},  // the half carries through every digit
        {1.000000000000005L, "1.00000000000001"},
        {-1.000000000000005L, "-1.00000000000001"},
        {1.0000000000000049L, "1"},
        // Exact value below the half, but its 18-digit expansion ends in 500: rounds up.
        {1.0000000000000049999L, "1.00000000000001"},
        {999999999999999.5L, "1E15"},  // carry out of all fifteen digits
        {1e15L - 1, "999999999999999"},
        {123.0L, "123"},
        {1e100L, "1E100"},
        {-1e-100L, "-1E-100"},
        {0, "0"},
        {-0.0L, "0"},
    };
    for (const auto& c : cases) {
        char buf[kMaxNumberText];
        const std::size_t n = FormatGeneralTo(buf, c.z, '.');
        EXPECT_EQ(std::string(buf, n), c.expected) << c.expected;
    }
}

TEST(FormatNumber, InfinityAndNaNPrintText) {
    const Extended inf = std::numeric_limits<Extended>::infinity();
    const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
    for (const Extended scale : {Extended(0), Extended(1000)}) {
        EXPECT_EQ(FormatNumber(inf, scale, '.'), "INF");
        EXPECT_EQ(FormatNumber(-inf, scale, '.'), "-INF");
        EXPECT_EQ(FormatNumber(nan, scale, '.'), "NAN");
    }
}

// The command tests the fault flags after printing: the formatter must never raise one, for
// any value at any scale, including products that would overflow the 64-bit range or the
// extended range itself and quotients by a denormal scale.
TEST(FormatNumber, NeverRaisesAFaultFlag) {
    const Extended inf = std::numeric_limits<Extended>::infinity();
    const Extended values[] = {0,
                               -0.0L,
                               1,
                               -1,
                               0.5L,
                               1e16L,
                               -1e16L,
                               9223372036854775807.0L,
                               -9223372036854775808.0L,
                               9223372036854775808.0L,
                               1e4000L,
                               -1e4000L,
                               LDBL_MAX,
                               -LDBL_MAX,
                               LDBL_MIN,
                               std::numeric_limits<Extended>::denorm_min(),
                               inf,
                               -inf,
                               std::numeric_limits<Extended>::quiet_NaN()};
    const Extended scales[] = {
        0,     1,       1000,     1e8L,     0.1L,     316.227766L,
        1e27L, 1e4000L, LDBL_MAX, 1e-4000L, LDBL_MIN, std::numeric_limits<Extended>::denorm_min()};
    for (const Extended scale : scales) {
        for (const Extended x : values) {
            std::feclearexcept(FE_ALL_EXCEPT);
            const std::string text = FormatNumber(x, scale, '.');
            EXPECT_EQ(std::fetestexcept(kFaultFlags), 0)
                << "x=" << static_cast<double>(x) << " scale=" << static_cast<double>(scale)
                << " text=" << text;
            EXPECT_FALSE(text.empty());
            EXPECT_LE(text.size(), kMaxNumberText);
        }
    }
}

// The rounded mode avoids the binary-to-decimal conversion for exact power-of-ten scales;
// its text must equal the general format of z = k / scale computed the long way.
TEST(FormatNumber, RoundedModeMatchesScaleRoundDivide) {
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 20);
    const char* precisions[] = {"0", "1", "3", "8", "12", "-1", "2.5", "27"};
    for (const char* precision : precisions) {
        const Extended scale = PrecisionScaleFromText(precision, '.');
        for (int i = 0; i < 4000; ++i) {
            const Extended x = static_cast<Extended>(mantissa(rng)) *
                               powl(10, static_cast<Extended>(exponent(rng))) * (1 + 1e-17L * i);
            const Extended y = nearbyintl(x * scale);
            if (!(y < 0x1p63L && y >= -0x1p63L)) continue;
            const Extended z = static_cast<Extended>(static_cast<std::int64_t>(y)) / scale;
            char buf[kMaxNumberText];
            const std::string expected(buf, FormatGeneralTo(buf, z, '.'));
            ASSERT_EQ(FormatNumber(x, scale, '.'), expected)
                << "precision " << precision << " x=" << static_cast<double>(x);
        }
    }
}

TEST(PrecisionScale, FromText) {
    const struct {
        const char* text;
        char sep;
        Extended expected;
    } cases[] = {
        {"e", '.', 0},
        {"0", '.', 1},
        {"1", '.', 10},
        {"3", '.', 1000},
        {"8", '.', 100000000},
        {"27", '.', 1e27L},
        {"-0", '.', 1},
        {"-1", '.', 1 / 10.0L},
        {"-3", '.', 1 / 1000.0L},
        {"3.0", '.', 1000},
        {"3,0", ',', 1000},
        {" 2 ", '.', 100},
        {"2.5", '.', powl(10, 2.5L)},
        {"30", '.', powl(10, 30)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrecisionScaleFromText(c.text, c.sep), c.expected) << c.text;
    // Every whole power up to 10^27 is exact: 10^q / 10 recovers 10^(q-1) exactly.
    for (int q = 1; q <= 27; ++q)
        EXPECT_EQ(PrecisionScaleFromText(std::to_string(q), '.') / 10,
                  PrecisionScaleFromText(std::to_string(q - 1), '.'))
            << q;
}

TEST(PrecisionScale, TextThatDoesNotConvertThrows) {
    for (const char* text : {"E", "", " ", "e ", " e", "ee", "3.0", "abc"}) {
        try {
            PrecisionScaleFromText(text, ',');
            ADD_FAILURE() << "no error for '" << text << "'";
        } catch (const CalcError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(text) + "' is not a valid floating point value");
        }
    }
}

// The precision box through the form: a failed change keeps the previous scale, and the
// new scale applies to later output only.
class PrecisionBox : public ::testing::Test {
  protected:
    TForm1 form;
    std::vector<std::string> errors;
    bool Change(const char* text) {
        form.ComboBox1 = text;
        return Dispatch(form, &TForm1::ComboBox1Change,
                        [&](const std::string& m) { errors.push_back(m); });
    }
};

TEST_F(PrecisionBox, ChoosingEThenThreeRestoresRounding) {
    ASSERT_TRUE(Change("e"));
    EXPECT_EQ(form.PrecisionScale, 0);
    EXPECT_EQ(form.FormatNumber(1234.56L), "1.235E+003");
    ASSERT_TRUE(Change("3"));
    EXPECT_EQ(form.PrecisionScale, 1000);
    EXPECT_EQ(form.FormatNumber(1234.56L), "1234.56");
    EXPECT_TRUE(errors.empty());
}

TEST_F(PrecisionBox, FailedChangeKeepsPreviousScale) {
    ASSERT_TRUE(Change("5"));
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"E", "'E' is not a valid floating point value."},
        {"", "'' is not a valid floating point value."},
        {"5000", "Floating point overflow."},
    };
    for (const auto& c : cases) {
        errors.clear();
        EXPECT_FALSE(Change(c.text));
        ASSERT_EQ(errors.size(), 1u) << c.text;
        EXPECT_EQ(errors[0], c.message);
        EXPECT_EQ(form.PrecisionScale, 100000) << c.text;
    }
}

}  // namespace

namespace {

// The integer path of the 18-digit expansion against the general conversion, over every
// magnitude it accepts and around powers of ten and exact ties.
TEST(Digits18, MatchesTheGeneralConversion) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> unit(1.0, 2.0);
    std::uniform_int_distribution<int> binary_exp(-16, 140);
    std::vector<Extended> xs = {1,
                                10,
                                0.1L,
                                1e17L,
                                1e18L,
                                1e19L,
                                99999999999999999.5L,
                                999999999999999999.5L,
                                9999999999999999995.0L,
                                1234567890123456785.0L,  // an exact tie at 18 digits
                                1234567890123456775.0L,
                                0x1p63L,
                                0x1p64L,
                                0x1.fffffffffffffffep126L,
                                LDBL_MAX,
                                LDBL_MIN,
                                0.01L,
                                0.0099999999L};
    for (int i = 0; i < 40000; ++i) {
        Extended x = ldexpl(static_cast<Extended>(unit(rng)), binary_exp(rng));
        if (i % 3 == 0) x = nextafterl(powl(10, static_cast<Extended>(binary_exp(rng) / 4)), 0);
        xs.push_back(x);
    }
    int fast = 0;
    for (const Extended x : xs) {
        std::uint64_t digits = 0;
        int exp10 = 0;
        if (!number_format_detail::Digits18(x, digits, exp10)) continue;
        ++fast;
        char text[48];
        const auto res =
            std::to_chars(text, text + sizeof text, x, std::chars_format::scientific, 17);
        const std::string expected(text, res.ptr);
        const std::string digit_text = std::to_string(digits);
        const int e = exp10 - 1;
        char exp_text[16];
        std::snprintf(exp_text, sizeof exp_text, "e%c%02d", e < 0 ? '-' : '+', e < 0 ? -e : e);
        const std::string got = digit_text.substr(0, 1) + "." + digit_text.substr(1) + exp_text;
        ASSERT_EQ(got, expected) << static_cast<double>(x);
    }
    EXPECT_GT(fast, 20000);
}

}  // namespace
