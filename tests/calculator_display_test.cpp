// The eight layouts of ShowResult, byte for byte, by filling the result store directly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form.h"
#include "fp_guard.h"

namespace {

// One row of cells: each text right-aligned in ten characters after one blank.
std::string Row(std::initializer_list<const char*> texts) {
    std::string line;
    for (const char* t : texts) {
        const std::string s(t);
        line += ' ';
        if (s.size() < 10) line.append(10 - s.size(), ' ');
        line += s;
    }
    return line;
}

class Display : public ::testing::Test {
  protected:
    TForm1 form;
    void SetUp() override { form.RichEdit3 = {"earlier", "", "L"}; }
    // The Result box from the label line on.
    Lines Shown() {
        form.ShowResult();
        return Lines(form.RichEdit3.begin() + 2, form.RichEdit3.end());
    }
    void SetEigen(std::vector<double> re, std::vector<double> im) {
        form.ResultKind = 7;
        form.ResultRows = form.ResultCols = static_cast<std::int32_t>(re.size());
        re.insert(re.begin(), -99.0);  // index 0 is unused
        im.insert(im.begin(), -99.0);
        form.EigenRe = re;
        form.EigenIm = im;
    }
};

TEST_F(Display, MatrixLayout) {
    const struct {
        const char* name;
        RCOMat m;
        std::int32_t rows, cols;
        Lines expected;
    } cases[] = {
        {"Identity",
         {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
         3,
         3,
         {"L=", "          1          0          0", "          0          1          0",
          "          0          0          1", ""}},
        {"NoRows", {}, 0, 0, {"L=", ""}},
        {"RowsWithoutColumns", {{}, {}}, 2, 0, {"L=", "", "", ""}},
        {"OnlyTheStoredShapeIsPrinted", {{1, 2, 3}, {4, 5, 6}}, 1, 2, {"L=", Row({"1", "2"}), ""}},
        {"WideTextPushesColumns",
         {{-123456.0625L, 1}, {12345678.5L, 2}},
         2,
         2,
         {"L=", " -123456.062          1", " 12345678.5          2", ""}},
        {"UnroundableValuePrintsItself",
         {{1e16L, -2.5e20L}},
         1,
         2,
         {"L=", Row({"1E16", "-2.5E20"}), ""}},
    };
    for (const auto& c : cases) {
        SetUp();
        form.ResultKind = 0;
        form.ResultMatrix = c.m;
        form.ResultRows = c.rows;
        form.ResultCols = c.cols;
        EXPECT_EQ(Shown(), c.expected) << c.name;
        EXPECT_EQ(form.ResultKind, 0);
    }
}

TEST_F(Display, ExponentModeCellsShiftByOne) {
    form.PrecisionScale = 0;
    form.ResultMatrix = {{-1234.56L, 1, 0}};
    form.ResultRows = 1;
    form.ResultCols = 3;
    EXPECT_EQ(Shown(), (Lines{"L=", " -1.235E+003 1.000E+000 0.000E+000", ""}));
}

TEST_F(Display, CommaSeparator) {
    form.DecimalSeparator = ',';
    form.ResultMatrix = {{0.5L, -1234.5678L}};
    form.ResultRows = 1;
    form.ResultCols = 2;
    EXPECT_EQ(Shown(), (Lines{"L=", "        0,5  -1234,568", ""}));
}

TEST_F(Display, UnknownKindPrintsMatrixAndKeepsKind) {
    form.ResultKind = 9;
    form.ResultMatrix = {{7}};
    form.ResultRows = form.ResultCols = 1;
    EXPECT_EQ(Shown(), (Lines{"L=", Row({"7"}), ""}));
    EXPECT_EQ(form.ResultKind, 9);
}

TEST_F(Display, ScalarLayout) {
    const struct {
        Extended value;
        const char* line;
    } cases[] = {
        {1234.5678L, "     1234.568"},
        {0, "            0"},
        {-1e16L, "        -1E16"},
        {123456789.125L, "   123456789.125"},
    };
    for (const auto& c : cases) {
        SetUp();
        form.ResultKind = 1;
        form.ResultScalar = c.value;
        EXPECT_EQ(Shown(), (Lines{"L=", "", c.line, ""}));
        EXPECT_EQ(form.ResultKind, 0);
    }
}

TEST_F(Display, DimensionLayout) {
    form.ResultKind = 2;
    form.DimRows = 3;
    form.DimCols = 4;
    EXPECT_EQ(Shown(), (Lines{"L=", "", "       3*4", ""}));
    EXPECT_EQ(form.ResultKind, 0);
}

// QR, LU and Cholesky: two factors, R x R and R x C; each heading goes on its own line and
// the rows of its block follow it directly, with one empty line after each block.
TEST_F(Display, TwoFactorLayouts) {
    const struct {
        std::int32_t kind;
        const char* first;
        const char* second;
    } cases[] = {{3, "   Q:", "   R:"}, {4, "   L:", "   U:"}, {5, "   L:", "   D:"}};
    for (const auto& c : cases) {
        SetUp();
        form.ResultKind = c.kind;
        form.ResultRows = 3;
        form.ResultCols = 2;
        form.ResultMatrix2 = {{1, 2, 3, 99}, {4, 5, 6, 99}, {7, 8, 9, 99}, {99, 99, 99, 99}};
        form.ResultMatrix3 = {{0.5L, -1, 99}, {2, 3, 99}, {4, 5, 99}};
        const Lines expected = {"L=",
                                "",
                                c.first,
                                Row({"1", "2", "3"}),
                                Row({"4", "5", "6"}),
                                Row({"7", "8", "9"}),
                                "",
                                c.second,
                                Row({"0.5", "-1"}),
                                Row({"2", "3"}),
                                Row({"4", "5"}),
                                ""};
        EXPECT_EQ(Shown(), expected) << c.kind;
        EXPECT_EQ(form.ResultKind, 0);
    }
}

TEST_F(Display, SingularValueLayout) {
    form.ResultKind = 6;
    form.ResultRows = 3;
    form.ResultCols = 2;
    form.ResultMatrix2 = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    form.OperandA = {{10, 0}, {0, 20}, {0, 0}};
    form.ResultMatrix3 = {{-1, 0, 99}, {0, -1, 99}, {99, 99, 99}};
    const Lines expected = {"L=",
                            "",
                            "   U:",
                            Row({"1", "2", "3"}),
                            Row({"4", "5", "6"}),
                            Row({"7", "8", "9"}),
                            "",
                            "   S:",
                            Row({"10", "0"}),
                            Row({"0", "20"}),
                            Row({"0", "0"}),
                            "",
                            "   V:",
                            Row({"-1", "0"}),
                            Row({"0", "-1"}),
                            ""};
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(form.ResultKind, 0);
}

TEST_F(Display, EigenvalueLines) {
    SetEigen({0.5, 2, -3.25, 1.0}, {-0.866, 0, 4.5, 1e-20});
    const Lines expected = {"L=",
                            "",
                            "",
                            "        0.5+    -0.866i",
                            "          2",
                            "      -3.25+       4.5i",
                            "          1+         0i",
                            ""};
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(form.ResultKind, 0);
}

TEST_F(Display, EigenvaluesInExponentMode) {
    form.PrecisionScale = 0;
    SetEigen({-1.5}, {2});
    EXPECT_EQ(Shown(), (Lines{"L=", "", "", " -1.500E+000+2.000E+000i", ""}));
}

// A zero eigenvalue is a result like any other: it gets the real line.
TEST_F(Display, ZeroEigenvalueGetsTheRealLine) {
    SetEigen({2, 0}, {0, 0});
    EXPECT_EQ(Shown(), (Lines{"L=", "", "", "          2", "          0", ""}));
}

TEST_F(Display, NoEigenvalues) {
    SetEigen({}, {});
    EXPECT_EQ(Shown(), (Lines{"L=", "", "", ""}));
}

// Large values that the scaled rounding cannot hold print unrounded, and printing raises no
// fault that the command would then report.
TEST_F(Display, PrintingRaisesNoFault) {
    form.ResultMatrix = {{1e16L, 1e4000L, -1e4000L, 1e-4000L}};
    form.ResultRows = 1;
    form.ResultCols = 4;
    std::vector<std::string> errors;
    EXPECT_TRUE(Dispatch(
        [&] {
            form.ShowResult();
            CheckFloatingPoint();
        },
        [&](const std::string& m) { errors.push_back(m); }));
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(form.RichEdit3.back(), "");
    EXPECT_EQ(form.RichEdit3[form.RichEdit3.size() - 2], Row({"1E16", "1E4000", "-1E4000", "0"}));
}

}  // namespace
