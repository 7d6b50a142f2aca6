// Whole Result-box transcripts of real sessions, compared byte for byte.  Each case under
// tests/golden/<case>/ holds the two boxes (a.txt, b.txt), the coefficient, precision and
// decimal separator (session.txt), the expected Result box (result.txt, one line per box
// line) and the reported errors (errors.txt).  Setting QUILLMARK_UPDATE_GOLDEN=1 rewrites the
// expected files from the current output, to be checked by hand before they are committed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "form.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::map<std::string, std::string> ReadSession(const fs::path& p) {
    std::map<std::string, std::string> values;
    for (const auto& line : SplitLines(ReadFile(p))) {
        const auto eq = line.find('=');
        if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

struct Transcript {
    std::string result, errors;
};

// Fills the boxes, coefficient, separator and precision of a case; the precision box
// change is reported through `sink`.
void LoadCase(const fs::path& dir, TForm1& form, const ErrorSink& sink) {
    auto session = ReadSession(dir / "session.txt");
    form.RichEdit1 = SplitLines(ReadFile(dir / "a.txt"));
    form.RichEdit2 = SplitLines(ReadFile(dir / "b.txt"));
    form.Edit1 = session["x"];
    form.DecimalSeparator = session["separator"].empty() ? '.' : session["separator"][0];
    form.ComboBox1 = session["precision"];
    Dispatch(form, &TForm1::ComboBox1Change, sink);
}

// Runs the automatic run on a fresh calculator with the case's inputs.
Transcript RunAuto(const fs::path& dir) {
    TForm1 form;
    Transcript t;
    const ErrorSink sink = [&](const std::string& m) { t.errors += m + "\n"; };
    LoadCase(dir, form, sink);
    Dispatch(form, &TForm1::SpeedButton49Click, sink);
    for (const auto& line : form.RichEdit3) t.result += line + "\n";
    return t;
}

std::vector<std::string> Cases() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(QUILLMARK_GOLDEN_DIR))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, AutoRunMatchesTranscriptByteForByte) {
    const fs::path dir = fs::path(QUILLMARK_GOLDEN_DIR) / GetParam();
    const Transcript t = RunAuto(dir);
    if (std::getenv("QUILLMARK_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(dir / "result.txt", std::ios::binary) << t.result;
        std::ofstream(dir / "errors.txt", std::ios::binary) << t.errors;
    }
    EXPECT_EQ(t.result, ReadFile(dir / "result.txt"));
    EXPECT_EQ(t.errors, ReadFile(dir / "errors.txt"));
}

TEST_P(Golden, SecondRunGivesTheSameResultBox) {
    const fs::path dir = fs::path(QUILLMARK_GOLDEN_DIR) / GetParam();
    TForm1 form;
    const ErrorSink ignore = [](const std::string&) {};
    LoadCase(dir, form, ignore);
    Dispatch(form, &TForm1::SpeedButton49Click, ignore);
    const Lines first = form.RichEdit3;
    Dispatch(form, &TForm1::SpeedButton49Click, ignore);
    EXPECT_EQ(form.RichEdit3, first);
}

INSTANTIATE_TEST_SUITE_P(Sessions, Golden, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param; });

TEST(AutoRun, BusyHookIsReleasedWhenAnErrorEndsTheRun) {
    TForm1 form;
    form.RichEdit1 = {"1 x"};
    std::vector<bool> calls;
    form.OnBusyChanged = [&](bool busy) { calls.push_back(busy); };
    std::vector<std::string> errors;
    Dispatch(form, &TForm1::SpeedButton49Click, [&](const std::string& m) { errors.push_back(m); });
    EXPECT_EQ(calls, (std::vector<bool>{true, false}));
    EXPECT_EQ(errors, (std::vector<std::string>{"'x' is not a valid floating point value."}));
    EXPECT_EQ(form.RichEdit3, (Lines{"A"}));
}

}  // namespace
