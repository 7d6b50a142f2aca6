// Every command through TForm1 as clicks: label lines, shape-test messages (byte for byte),
// result layouts and error paths.
#include <gtest/gtest.h>

#include "calculator_test_support.h"

namespace {

using H = void (TForm1::*)();
const Lines kSquare2 = {"1 2", "3 4"};
const Lines kWide23 = {"1 2 3", "4 5 6"};

// ---- shape tests: the message line and the line after it ----

struct ShapeCase {
    const char* name;
    H handler;
    Lines a, b;
    Lines expected;  // all lines the command appends
};

void PrintTo(const ShapeCase& c, std::ostream* os) {
    *os << c.name;
}

class ShapeTestMessages : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ShapeTestMessages, AppendLabelMessageAndClosingLine) {
    const ShapeCase& c = GetParam();
    Session s;
    s.SetA(c.a);
    s.SetB(c.b);
    EXPECT_EQ(s.Click(c.handler), c.expected);
    EXPECT_TRUE(s.errors.empty());
}

const char* kSame = ", the two Matrice must be same dimensions!";

INSTANTIATE_TEST_SUITE_P(
    Commands, ShapeTestMessages,
    ::testing::Values(
        ShapeCase{"InvA",
                  &TForm1::SpeedButton6Click,
                  kWide23,
                  kSquare2,
                  {"inv(A)", " Error: To Calculate inv(A), the Matrix must be square!", ""}},
        ShapeCase{"InvB",
                  &TForm1::SpeedButton8Click,
                  kSquare2,
                  kWide23,
                  {"inv(B)", " Error: To Calculate inv(B), the Matrix must be square!", ""}},
        ShapeCase{"DetA",
                  &TForm1::SpeedButton32Click,
                  kWide23,
                  kSquare2,
                  {"Det(A)", " Error: To Calculate Det(A), the Matrix must be square!", ""}},
        ShapeCase{"DetB",
                  &TForm1::SpeedButton37Click,
                  kSquare2,
                  kWide23,
                  {"Det(B)", " Error: To Calculate Det(B), the Matrix must be square!", ""}},
        ShapeCase{"QRA",
                  &TForm1::SpeedButton26Click,
                  kWide23,
                  kSquare2,
                  {"QR(A)", " Error: To Calculate QR, Row>=Col!", ""}},
        ShapeCase{"QRB",
                  &TForm1::SpeedButton28Click,
                  kSquare2,
                  kWide23,
                  {"QR(B)", " Error: To Calculate QR, Row>=Col!", ""}},
        ShapeCase{"CholA",
                  &TForm1::SpeedButton31Click,
                  kWide23,
                  kSquare2,
                  {"Chol(A)", " Error: To Calculate Cholesky, Row=Col!", ""}},
        ShapeCase{"CholB",
                  &TForm1::SpeedButton36Click,
                  kSquare2,
                  kWide23,
                  {"Chol(B)", " Error: To Calculate Cholesky, Row=Col!", ""}},
        ShapeCase{"EigA",
                  &TForm1::SpeedButton33Click,
                  kWide23,
                  kSquare2,
                  {"Eig(A)", " Error: To Calculate Eig(A), Row=Col!", ""}},
        ShapeCase{"EigB",
                  &TForm1::SpeedButton43Click,
                  kSquare2,
                  kWide23,
                  {"Eig(B)", " Error: To Calculate Eig(B), Row=Col!", ""}},
        ShapeCase{"PowerA",
                  &TForm1::SpeedButton27Click,
                  kWide23,
                  kSquare2,
                  {"A^(1)", " Error: To Calculate A^x, A must be square! ", ""}},
        ShapeCase{"PowerB",
                  &TForm1::SpeedButton44Click,
                  kSquare2,
                  kWide23,
                  {"B^(1)", " Error: To Calculate B^x, B must be square! ", ""}},
        ShapeCase{"LUA",
                  &TForm1::SpeedButton29Click,
                  kWide23,
                  kSquare2,
                  {"LU(A)", " Error: To Calculate LU, Matrix must be square!", ""}},
        ShapeCase{"LUB",
                  &TForm1::SpeedButton30Click,
                  kSquare2,
                  kWide23,
                  {"LU(B)", " Error: To Calculate LU, Matrix must be square!", ""}},
        ShapeCase{"Sum",
                  &TForm1::SpeedButton4Click,
                  kSquare2,
                  kWide23,
                  {"A+B", std::string(" Error: To Calculate A+B") + kSame, ""}},
        ShapeCase{"Difference",
                  &TForm1::SpeedButton9Click,
                  kSquare2,
                  kWide23,
                  {"A-B", std::string(" Error: To Calculate A-B") + kSame, ""}},
        ShapeCase{"And",
                  &TForm1::SpeedButton21Click,
                  kSquare2,
                  kWide23,
                  {"A&B", std::string(" Error: To Calculate A&B") + kSame, ""}},
        ShapeCase{"Or",
                  &TForm1::SpeedButton22Click,
                  kSquare2,
                  kWide23,
                  {"A|B", std::string(" Error: To Calculate A|B") + kSame, ""}},
        ShapeCase{"Xor",
                  &TForm1::SpeedButton23Click,
                  kSquare2,
                  kWide23,
                  {"A#B", std::string(" Error: To Calculate A#B") + kSame, ""}},
        ShapeCase{
            "ArrayMultiply",
            &TForm1::SpeedButton39Click,
            kSquare2,
            kWide23,
            {"A.*B", " Error: To Calculate A.*B, the two Matrixs must be same dimensions!", " "}},
        ShapeCase{
            "ArrayDivide",
            &TForm1::SpeedButton40Click,
            kSquare2,
            kWide23,
            {"A./B", " Error: To Calculate A./B, the two Matrixs must be same dimensions!", ""}},
        ShapeCase{"Product",
                  &TForm1::SpeedButton18Click,
                  kWide23,
                  kWide23,
                  {"A*B", " Error: To Calculate A*B, A(Col)=B(Row)!", ""}},
        ShapeCase{"Divide",
                  &TForm1::SpeedButton38Click,
                  kSquare2,
                  kWide23,
                  {"A/B", " Error: To Calculate A/B, B Should be square, and A(Col)=B(Row)!", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- results: the whole text a command appends ----

struct ResultCase {
    const char* name;
    H handler;
    Lines a, b;
    const char* x;
    Lines expected;
};

void PrintTo(const ResultCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandResults : public ::testing::TestWithParam<ResultCase> {};

TEST_P(CommandResults, PrintTheWholeResult) {
    const ResultCase& c = GetParam();
    Session s;
    s.SetA(c.a);
    s.SetB(c.b);
    s.form.Edit1 = c.x;
    EXPECT_EQ(s.Click(c.handler), c.expected);
    EXPECT_TRUE(s.errors.empty()) << s.errors.front();
    // The display resets the kind; a command that stopped with its own message leaves it.
    if (c.expected.front().back() == '=') {
        EXPECT_EQ(s.form.ResultKind, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandResults,
    ::testing::Values(
        ResultCase{"TransposeWide",
                   &TForm1::SpeedButton2Click,
                   kWide23,
                   {},
                   "1",
                   {"A'=", Cells({"1", "4"}), Cells({"2", "5"}), Cells({"3", "6"}), ""}},
        ResultCase{"TransposeB",
                   &TForm1::SpeedButton7Click,
                   {},
                   {"1 2 3 4"},
                   "1",
                   {"B'=", Cells({"1"}), Cells({"2"}), Cells({"3"}), Cells({"4"}), ""}},
        ResultCase{"InverseSwap",
                   &TForm1::SpeedButton6Click,
                   {"0 1", "1 0"},
                   {},
                   "1",
                   {"inv(A)=", Cells({"0", "1"}), Cells({"1", "0"}), ""}},
        ResultCase{"InverseSingular",
                   &TForm1::SpeedButton8Click,
                   {},
                   {"1 2", "2 4"},
                   "1",
                   {"inv(B)", " Error: To Calculate inv(B), the Matrix must not be singular!", ""}},
        ResultCase{"InverseEmpty", &TForm1::SpeedButton6Click, {}, {}, "1", {"inv(A)=", ""}},
        ResultCase{"Max",
                   &TForm1::SpeedButton10Click,
                   {"-3 -1", "-7 -2"},
                   {},
                   "1",
                   {"Max(A)=", "", ScalarLine("-1"), ""}},
        ResultCase{"Min",
                   &TForm1::SpeedButton13Click,
                   {},
                   {"-3 -1", "-7 -2"},
                   "1",
                   {"Min(B)=", "", ScalarLine("-7"), ""}},
        ResultCase{"MaxEmpty",
                   &TForm1::SpeedButton10Click,
                   {},
                   {},
                   "1",
                   {"Max(A)=", "", ScalarLine("0"), ""}},
        ResultCase{"Dim",
                   &TForm1::SpeedButton19Click,
                   kWide23,
                   {},
                   "1",
                   {"Dim(A)=", "", "       2*3", ""}},
        ResultCase{"DimBlankLine",
                   &TForm1::SpeedButton20Click,
                   {},
                   {"   "},
                   "1",
                   {"Dim(B)=", "", "       1*0", ""}},
        ResultCase{"TraceWide",
                   &TForm1::SpeedButton24Click,
                   kWide23,
                   {},
                   "1",
                   {"Trace(A)=", "", ScalarLine("6"), ""}},
        ResultCase{"TraceTall",
                   &TForm1::SpeedButton25Click,
                   {},
                   {"1 2", "3 4", "5 6"},
                   "1",
                   {"Trace(B)=", "", ScalarLine("5"), ""}},
        ResultCase{"DetRowSwap",
                   &TForm1::SpeedButton32Click,
                   {"1 2", "4 3"},
                   {},
                   "1",
                   {"Det(A)=", "", ScalarLine("-5"), ""}},
        ResultCase{"DetTridiagonal",
                   &TForm1::SpeedButton37Click,
                   {},
                   {"2 -1 0", "-1 2 -1", "0 -1 2"},
                   "1",
                   {"Det(B)=", "", ScalarLine("4"), ""}},
        ResultCase{"DetEmptyIsOne",
                   &TForm1::SpeedButton32Click,
                   {},
                   {},
                   "1",
                   {"Det(A)=", "", ScalarLine("1"), ""}},
        ResultCase{"RankResidue",
                   &TForm1::SpeedButton34Click,
                   {"1 2", "3 6"},
                   {},
                   "1",
                   {"Rank(A)=", "", ScalarLine("2"), ""}},
        ResultCase{"RankWide",
                   &TForm1::SpeedButton35Click,
                   {},
                   {"1 2 3", "2 4 6"},
                   "1",
                   {"Rank(B)=", "", ScalarLine("1"), ""}},
        ResultCase{"ScaleA",
                   &TForm1::SpeedButton16Click,
                   kSquare2,
                   {},
                   "2.5",
                   {"A*x=", Cells({"2.5", "5"}), Cells({"7.5", "10"}), ""}},
        ResultCase{"PowerTruncates",
                   &TForm1::SpeedButton27Click,
                   {"1 1", "0 1"},
                   {},
                   "3.9",
                   {"A^(3)=", Cells({"1", "3"}), Cells({"0", "1"}), ""}},
        ResultCase{"PowerZeroIsIdentity",
                   &TForm1::SpeedButton27Click,
                   {"0 0", "0 0"},
                   {},
                   "-0.5",
                   {"A^(0)=", Cells({"1", "0"}), Cells({"0", "1"}), ""}},
        ResultCase{"PowerNegative",
                   &TForm1::SpeedButton44Click,
                   {},
                   {"2 0", "0 4"},
                   "-2",
                   {"B^(-2)=", Cells({"0.25", "0"}), Cells({"0", "0.062"}), ""}},
        ResultCase{"PowerSingular",
                   &TForm1::SpeedButton27Click,
                   {"1 2", "2 4"},
                   {},
                   "-2",
                   {"A^(-2)", " Error: To Calculate A^(-2), A must not be singular!", ""}},
        ResultCase{"PowerLow32Bits",
                   &TForm1::SpeedButton27Click,
                   {"1 1", "0 1"},
                   {},
                   "4294967298",
                   {"A^(2)=", Cells({"1", "2"}), Cells({"0", "1"}), ""}},
        ResultCase{"LU",
                   &TForm1::SpeedButton29Click,
                   {"4 3", "6 3"},
                   {},
                   "1",
                   {"LU(A)=", "", "   L:", Cells({"1", "0"}), Cells({"1.5", "1"}), "", "   U:",
                    Cells({"4", "3"}), Cells({"0", "-1.5"}), ""}},
        ResultCase{"LUZeroPivot",
                   &TForm1::SpeedButton30Click,
                   {},
                   {"0 1", "1 0"},
                   "1",
                   {"LU(B)", " Error:  Calculate LU failed!", ""}},
        ResultCase{"Cholesky",
                   &TForm1::SpeedButton31Click,
                   {"4 2", "100 3"},
                   {},
                   "1",
                   {"Chol(A)=", "", "   L:", Cells({"1", "0"}), Cells({"0.5", "1"}), "", "   D:",
                    Cells({"4", "0"}), Cells({"0", "2"}), ""}},
        ResultCase{"NoCholesky",
                   &TForm1::SpeedButton36Click,
                   {},
                   {"0 1", "1 0"},
                   "1",
                   {"Chol(B)", " No Cholesky decomposition!", ""}},
        ResultCase{"QRColumn",
                   &TForm1::SpeedButton26Click,
                   {"3", "4"},
                   {},
                   "1",
                   {"QR(A)=", "", "   Q:", Cells({"-0.6", "-0.8"}), Cells({"-0.8", "0.6"}), "",
                    "   R:", Cells({"-5"}), Cells({"0"}), ""}},
        ResultCase{"SvdNegativeScalar",
                   &TForm1::SpeedButton41Click,
                   {"-3"},
                   {},
                   "1",
                   {"Svd(A)=", "", "   U:", Cells({"1"}), "", "   S:", Cells({"3"}), "", "   V:",
                    Cells({"-1"}), ""}},
        ResultCase{
            "SvdEmpty",
            &TForm1::SpeedButton42Click,
            {},
            {"   "},
            "1",
            {"Svd(B)=", "", "   U:", Cells({"1"}), "", "   S:", "", "", "   V:", ""}},
        ResultCase{"NormRow",
                   &TForm1::SpeedButton14Click,
                   {"3 4 0"},
                   {},
                   "1",
                   {"Norm(A)=", "", ScalarLine("5"), ""}},
        ResultCase{"NormEmpty",
                   &TForm1::SpeedButton15Click,
                   {},
                   {},
                   "1",
                   {"Norm(B)=", "", ScalarLine("0"), ""}},
        ResultCase{"EigRotation",
                   &TForm1::SpeedButton33Click,
                   {"0 -1", "1 0"},
                   {},
                   "1",
                   {"Eig(A)=", "", "", Cells({"0"}) + "+" + Cells({"-1"}).substr(1) + "i",
                    Cells({"0"}) + "+" + Cells({"1"}).substr(1) + "i", ""}},
        ResultCase{"EigZeroMatrixPrintsZeros",
                   &TForm1::SpeedButton43Click,
                   {},
                   {"0 0 0", "0 0 0", "0 0 0"},
                   "1",
                   {"Eig(B)=", "", "", Cells({"0"}), Cells({"0"}), Cells({"0"}), ""}},
        ResultCase{"EigEmpty", &TForm1::SpeedButton33Click, {}, {}, "1", {"Eig(A)=", "", "", ""}},
        ResultCase{"Sum",
                   &TForm1::SpeedButton4Click,
                   kSquare2,
                   {"1 1", "1 1"},
                   "1",
                   {"A+B=", Cells({"2", "3"}), Cells({"4", "5"}), ""}},
        ResultCase{"DifferenceOfEqualIsZero",
                   &TForm1::SpeedButton9Click,
                   kSquare2,
                   kSquare2,
                   "1",
                   {"A-B=", Cells({"0", "0"}), Cells({"0", "0"}), ""}},
        ResultCase{"XorUsesBoth",
                   &TForm1::SpeedButton23Click,
                   {"1 0", "0 0"},
                   {"1 1", "0 0"},
                   "1",
                   {"A#B=", Cells({"0", "1"}), Cells({"0", "0"}), ""}},
        ResultCase{"And",
                   &TForm1::SpeedButton21Click,
                   {"2 0", "-0.5 0"},
                   {"3 3", "0 0"},
                   "1",
                   {"A&B=", Cells({"1", "0"}), Cells({"0", "0"}), ""}},
        ResultCase{"OrTreatsMinusZeroAsFalse",
                   &TForm1::SpeedButton22Click,
                   {"-0 0", "-0.5 0"},
                   {"3 -0", "0 0"},
                   "1",
                   {"A|B=", Cells({"1", "0"}), Cells({"1", "0"}), ""}},
        ResultCase{"Product",
                   &TForm1::SpeedButton18Click,
                   kSquare2,
                   {"5 6", "7 8"},
                   "1",
                   {"A*B=", Cells({"19", "22"}), Cells({"43", "50"}), ""}},
        ResultCase{"Divide",
                   &TForm1::SpeedButton38Click,
                   {"2 4"},
                   {"2 0", "0 4"},
                   "1",
                   {"A/B=", Cells({"1", "1"}), ""}},
        ResultCase{"DivideSingular",
                   &TForm1::SpeedButton38Click,
                   kSquare2,
                   {"1 2", "2 4"},
                   "1",
                   {"A/B", " Error: To Calculate A/B, B must not be singular!", ""}},
        ResultCase{"ArrayMultiply",
                   &TForm1::SpeedButton39Click,
                   kSquare2,
                   {"2 2", "0.5 -1"},
                   "1",
                   {"A.*B=", Cells({"2", "4"}), Cells({"1.5", "-4"}), ""}},
        ResultCase{"ArrayMultiplyShortRowReadsZero",
                   &TForm1::SpeedButton39Click,
                   kSquare2,
                   {"2", "1 1"},
                   "1",
                   {"A.*B=", Cells({"2", "0"}), Cells({"3", "4"}), ""}},
        ResultCase{"ArrayDivide",
                   &TForm1::SpeedButton40Click,
                   kSquare2,
                   {"2 4", "3 8"},
                   "1",
                   {"A./B=", Cells({"0.5", "0.5"}), Cells({"1", "0.5"}), ""}},
        ResultCase{"ArrayDivideStopsAtZeroBeforeBadField",
                   &TForm1::SpeedButton40Click,
                   kSquare2,
                   {"0 x", "1 1"},
                   "1",
                   {"A./B", " Error: To Calculate A./B, the Matrix B without 0!", ""}},
        ResultCase{"ArrayDivideMinusZero",
                   &TForm1::SpeedButton40Click,
                   kSquare2,
                   {"1 -0", "1 1"},
                   "1",
                   {"A./B", " Error: To Calculate A./B, the Matrix B without 0!", ""}},
        ResultCase{"ArrayDivideUnsetElementIsZero",
                   &TForm1::SpeedButton40Click,
                   kSquare2,
                   {"1", "x 1"},
                   "1",
                   {"A./B", " Error: To Calculate A./B, the Matrix B without 0!", ""}},
        ResultCase{"EchoEmpty", &TForm1::SpeedButton1Click, {}, {}, "1", {"A=", ""}},
        ResultCase{"EchoBlankLine", &TForm1::SpeedButton5Click, {}, {"   "}, "1", {"B=", "", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- errors raised inside a command: the label stays, the message is reported ----

struct ErrorCase {
    const char* name;
    H handler;
    Lines a, b;
    const char* x;
    Lines expected;       // lines appended before the error
    std::string message;  // as reported, with the full stop
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(CommandErrors, EndTheCommandAndReportOnce) {
    const ErrorCase& c = GetParam();
    Session s;
    s.SetA(c.a);
    s.SetB(c.b);
    s.form.Edit1 = c.x;
    EXPECT_EQ(s.Click(c.handler), c.expected);
    ASSERT_EQ(s.errors.size(), 1u);
    EXPECT_EQ(s.errors[0], c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandErrors,
    ::testing::Values(ErrorCase{"BadElement",
                                &TForm1::SpeedButton2Click,
                                {"1 2", "3 y"},
                                {},
                                "1",
                                {"A'"},
                                "'y' is not a valid floating point value."},
                      ErrorCase{"BadCoefficient",
                                &TForm1::SpeedButton17Click,
                                {},
                                kSquare2,
                                "abc",
                                {"B*x"},
                                "'abc' is not a valid floating point value."},
                      ErrorCase{"BadExponentAppendsNothing",
                                &TForm1::SpeedButton27Click,
                                kSquare2,
                                {},
                                "two",
                                {},
                                "'two' is not a valid floating point value."},
                      ErrorCase{"ExponentBeyond64Bits",
                                &TForm1::SpeedButton44Click,
                                {},
                                kSquare2,
                                "1e19",
                                {},
                                "Invalid floating point operation."},
                      ErrorCase{
                          "LongRow",
                          &TForm1::SpeedButton1Click,
                          {"1 2 3", "4 5"},
                          {},
                          "1",
                          {"A"},
                          "Line 1 of Matrix(A) has 3 elements, but the matrix has 2 columns."},
                      ErrorCase{"LongRowOfB",
                                &TForm1::SpeedButton4Click,
                                {"1", "2"},
                                {"1 2", "3"},
                                "1",
                                {"A+B"},
                                "Line 1 of Matrix(B) has 2 elements, but the matrix has 1 column."},
                      ErrorCase{"ProductOverflow",
                                &TForm1::SpeedButton18Click,
                                {"1e4000"},
                                {"1e4000"},
                                "1",
                                {"A*B"},
                                "Floating point overflow."},
                      ErrorCase{"InverseOfDenormalOverflows",
                                &TForm1::SpeedButton6Click,
                                {"1e-4940"},
                                {},
                                "1",
                                {"inv(A)"},
                                "Floating point overflow."},
                      ErrorCase{"PowerStopsAtFirstOverflow",
                                &TForm1::SpeedButton27Click,
                                {"1e3000 0", "0 1"},
                                {},
                                "1e9",
                                {"A^(1000000000)"},
                                "Floating point overflow."},
                      ErrorCase{"EigenBeyondDoubleRange",
                                &TForm1::SpeedButton33Click,
                                {"1e400"},
                                {},
                                "1",
                                {"Eig(A)"},
                                "Floating point overflow."},
                      ErrorCase{"ArrayMultiplyOverflowsWhileReading",
                                &TForm1::SpeedButton39Click,
                                {"1e4000 1"},
                                {"1e4000 x"},
                                "1",
                                {"A.*B"},
                                "Floating point overflow."},
                      ErrorCase{"HugeBoxIsRefused",
                                &TForm1::SpeedButton1Click,
                                [] {
                                    Lines box(8999, "1");
                                    std::string last;
                                    for (int i = 0; i < 9000; ++i) last += "1 ";
                                    box.push_back(last);
                                    return box;
                                }(),
                                {},
                                "1",
                                {"A"},
                                "Not enough memory for a 9000 x 9000 matrix."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandState, ShapeFailureDoesNotChangeTheNextLayout) {
    Session s;
    s.SetA(kWide23);
    s.Click(&TForm1::SpeedButton26Click);  // QR(A) refused
    EXPECT_EQ(s.Click(&TForm1::SpeedButton2Click),
              (Lines{"A'=", Cells({"1", "4"}), Cells({"2", "5"}), Cells({"3", "6"}), ""}));
}

TEST(CommandState, SvdOfBUsesOnlyBoxB) {
    Session s;
    s.SetA({"garbage"});
    s.SetB({"-3"});
    const Lines lines = s.Click(&TForm1::SpeedButton42Click);
    EXPECT_TRUE(s.errors.empty());
    EXPECT_EQ(lines.front(), "Svd(B)=");
}

TEST(CommandState, UnsetElementsNeverShowEarlierValues) {
    Session s;
    s.SetA({"7 7", "7 7"});
    s.Click(&TForm1::SpeedButton2Click);
    s.SetA({"1", "", "2 3"});  // a short row and a blank line before the last row
    EXPECT_EQ(s.Click(&TForm1::SpeedButton2Click),
              (Lines{"A'=", Cells({"1", "0"}), Cells({"0", "0"}), ""}));
}

}  // namespace
