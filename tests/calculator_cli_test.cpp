// The batch tool end to end: stdout, stderr, exit codes and the bytes --save writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quillmark-cli-test-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    // Runs the tool with `args` (already quoted for the shell) and optional standard input.
    Outcome Run(const std::string& args, const std::string& input = "") {
        const fs::path in = Write("stdin.txt", input);
        const std::string cmd = std::string("LC_ALL=C ") + QUILLMARK_CLI + " " + args + " <" +
                                in.string() + " >" + (dir_ / "out.txt").string() + " 2>" +
                                (dir_ / "err.txt").string();
        const int raw = std::system(cmd.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Read(dir_ / "out.txt"),
                Read(dir_ / "err.txt")};
    }

    fs::path dir_;
};

const std::string kIdentityEcho =
    "A=\n"
    "          1          0          0\n"
    "          0          1          0\n"
    "          0          0          1\n"
    "\n";

TEST_F(Cli, EchoOfTheStartContents) {
    const Outcome o = Run("A");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, kIdentityEcho);
    EXPECT_EQ(o.err, "");
}

TEST_F(Cli, BoxesFromFilesAndStandardInputWithCrLf) {
    const fs::path a = Write("a.txt", "1 2\r\n3 4\r\n");
    const Outcome o = Run("--a " + a.string() + " --b - A B", "5\n");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out,
              "A=\n          1          2\n          3          4\n\n"
              "B=\n          5\n\n");
}

TEST_F(Cli, ErrorsGoToStderrAndTheRunGoesOn) {
    const fs::path a = Write("a.txt", "1 x\n");
    const Outcome o = Run("--a " + a.string() + " A B");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out,
              "A\nB=\n          1          0          0\n          0          1          0\n"
              "          0          0          1\n\n");
    EXPECT_EQ(o.err, "'x' is not a valid floating point value.\n");
}

TEST_F(Cli, PrecisionAndSeparatorOptions) {
    const fs::path a = Write("a.txt", "1,23456 -0,5\n");
    Outcome o = Run("--decimal-separator , --precision 2 --a " + a.string() + " A");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "A=\n       1,23       -0,5\n\n");
    o = Run("--precision e --a " + Write("b.txt", "1234.56\n").string() + " A");
    EXPECT_EQ(o.out, "A=\n 1.235E+003\n\n");
}

TEST_F(Cli, BadPrecisionIsReportedAndKeepsThePrecision) {
    const Outcome o = Run("--precision E --a " + Write("a.txt", "0.12345\n").string() + " A");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "'E' is not a valid floating point value.\n");
    EXPECT_EQ(o.out, "A=\n      0.123\n\n");
}

TEST_F(Cli, PowerCommandNamesAndCoefficient) {
    const Outcome o = Run("--x -1 --a " + Write("a.txt", "2 0\n0 4\n").string() + " 'A^x'");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "A^(-1)=\n        0.5          0\n          0       0.25\n\n");
}

TEST_F(Cli, ClearEmptiesTheResultBox) {
    const Outcome o = Run("A Clear B");
    EXPECT_EQ(o.out.substr(0, 3), "B=\n");
}

TEST_F(Cli, SaveWritesCrLfLines) {
    const fs::path out = dir_ / "result.rtf";
    const Outcome o = Run("--save " + out.string() + " A");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(Read(out),
              "A=\r\n          1          0          0\r\n          0          1          0\r\n"
              "          0          0          1\r\n\r\n");
}

TEST_F(Cli, SaveThatCannotCreateIsReported) {
    const fs::path out = dir_ / "missing-dir" / "result.txt";
    const Outcome o = Run("--save " + out.string() + " A");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "Cannot create file \"" + out.string() + "\". No such file or directory.\n");
    EXPECT_EQ(o.out, kIdentityEcho);
}

struct UsageCase {
    const char* name;
    const char* args;
};

class CliUsage : public Cli, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(CliUsage, IsExitStatusTwoAndRunsNothing) {
    const Outcome o = Run(GetParam().args);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.out, "");
    EXPECT_NE(o.err.find("usage: quillmark-cli"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Errors, CliUsage,
                         ::testing::Values(UsageCase{"NoCommand", ""},
                                           UsageCase{"UnknownCommand", "A 'A^2'"},
                                           UsageCase{"UnknownOption", "--y 3 A"},
                                           UsageCase{"MissingValue", "A --x"},
                                           UsageCase{"UnreadableFile", "--a /nonexistent/a A"},
                                           UsageCase{"LongSeparator", "--decimal-separator ,, A"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
