// Robustness of every command: seeded random small boxes mixing ordinary numbers, signed
// zeros, denormals, values near the ends of the double and extended ranges, and text that is
// not a number, through the automatic run.  Each run must end, print no infinity or NaN, and
// report nothing but the system's own messages.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "form.h"

namespace {

class Generator {
  public:
    explicit Generator(std::uint64_t seed) : rng_(seed) {}

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    std::string Element() {
        static const char* const kSpecial[] = {
            "0",      "-0",      "1",     "-1",      "2.5",   "1e-4940", "-1e-4940",
            "1e4000", "-1e4000", "1e300", "1e-300",  "1e308", "4e307",   "1e-320",
            "3",      "7",       "0.1",   "-1e4931", "1e16",  "\"2\"",   "9e18"};
        static const char* const kNotANumber[] = {"x", "1,5", "--1", "1e"};
        if (Pick(0, 400) == 0) return kNotANumber[Pick(0, std::size(kNotANumber) - 1)];
        if (Pick(0, 2) == 0) return kSpecial[Pick(0, std::size(kSpecial) - 1)];
        return std::to_string(Pick(-9, 9)) + "." + std::to_string(Pick(0, 99));
    }

    Lines Box() {
        const int rows = Pick(0, 5), cols = Pick(0, 5);
        Lines box;
        for (int i = 0; i < rows; ++i) {
            std::string line;
            const int n = Pick(0, 3) == 0 ? Pick(0, cols) : cols;  // sometimes a short row
            for (int j = 0; j < n; ++j) {
                if (j > 0) line += ' ';
                line += Element();
            }
            if (line.empty() && Pick(0, 1) == 0) line.push_back(' ');  // a blank line
            box.push_back(line);
        }
        return box;
    }

    std::string Coefficient() {
        static const char* const kX[] = {"-3", "-1", "0", "1", "2", "3.9", "1e19", "abc", "-2"};
        return kX[Pick(0, std::size(kX) - 1)];
    }

  private:
    std::mt19937_64 rng_;
};

bool KnownMessage(const std::string& m) {
    auto ends_with = [&](const std::string& tail) {
        return m.size() >= tail.size() && m.compare(m.size() - tail.size(), tail.size(), tail) == 0;
    };
    return m == "Floating point overflow." || m == "Floating point division by zero." ||
           m == "Invalid floating point operation." ||
           (m.rfind('\'', 0) == 0 && ends_with("' is not a valid floating point value.")) ||
           (m.rfind("Line ", 0) == 0 && (ends_with(" columns.") || ends_with(" column.")));
}

TEST(AutoFuzz, EveryCommandEndsAndPrintsOnlyFiniteNumbers) {
    Generator gen(0xA070F022);
    int completed = 0;
    for (int round = 0; round < 2000; ++round) {
        TForm1 form;
        form.RichEdit1 = gen.Box();
        form.RichEdit2 = gen.Box();
        form.Edit1 = gen.Coefficient();
        form.ComboBox1 = gen.Pick(0, 3) == 0 ? "e" : std::to_string(gen.Pick(0, 8));
        std::vector<std::string> errors;
        const ErrorSink sink = [&](const std::string& m) { errors.push_back(m); };
        ASSERT_TRUE(Dispatch(form, &TForm1::ComboBox1Change, sink));
        if (Dispatch(form, &TForm1::SpeedButton49Click, sink)) ++completed;
        ASSERT_LE(errors.size(), 1u);
        for (const auto& m : errors) EXPECT_TRUE(KnownMessage(m)) << m;
        for (const auto& line : form.RichEdit3) {
            ASSERT_EQ(line.find("INF"), std::string::npos) << line;
            ASSERT_EQ(line.find("NAN"), std::string::npos) << line;
        }
    }
    EXPECT_GT(completed, 500);  // most runs reach their last command
}

}  // namespace
