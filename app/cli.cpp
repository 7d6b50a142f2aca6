// quillmark-cli: the batch tool.  One TForm1 for the whole invocation; each COMMAND runs in
// order exactly like a click on its button.  stdout receives the Result box, stderr each
// reported error.
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "form.h"
#include "result_file.h"

namespace {

constexpr const char* kUsage =
    "usage: quillmark-cli [--a FILE] [--b FILE] [--x TEXT] [--precision TEXT]\n"
    "                     [--decimal-separator CHAR] [--save FILE] [--timings] COMMAND...\n"
    "  FILE '-' reads standard input.  COMMAND is a button's label: A B A' B' inv(A) inv(B)\n"
    "  A+B A-B A*B A.*B A./B A/B A&B A|B A#B Max(A) Max(B) Min(A) Min(B) Norm(A) Norm(B)\n"
    "  Dim(A) Dim(B) Trace(A) Trace(B) Det(A) Det(B) Rank(A) Rank(B) A*x B*x Eig(A) Eig(B)\n"
    "  QR(A) QR(B) LU(A) LU(B) Chol(A) Chol(B) Svd(A) Svd(B) A^x B^x AuTo Clear\n"
    "  --timings prints to stderr how long reading, computing and printing took.\n";

struct Options {
    std::optional<std::string> a, b, x, precision, save;
    std::optional<char> separator;
    bool timings = false;
    std::vector<std::string> commands;
};

int Usage(const std::string& why) {
    std::cerr << "quillmark-cli: " << why << "\n" << kUsage;
    return 2;
}

bool ReadText(const std::string& file, std::string& text) {
    if (file == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    text = ss.str();
    return !in.bad();
}

// The decimal separator of the user's locale (LC_NUMERIC); '.' when it is not one byte.
char LocaleSeparator() {
    char sep = '.';
    if (std::setlocale(LC_NUMERIC, "") != nullptr) {
        const char* dp = std::localeconv()->decimal_point;
        if (dp != nullptr && std::strlen(dp) == 1) sep = dp[0];
    }
    std::setlocale(LC_NUMERIC, "C");
    return sep;
}

// Parses the command line; returns an exit code when it is not usable.
std::optional<int> ParseArgs(int argc, char** argv, Options& opt) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
            opt.commands.push_back(arg);
            continue;
        }
        std::string name = arg, value;
        bool has_value = false;
        if (auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            has_value = true;
        }
        if (name == "--timings" && !has_value) {
            opt.timings = true;
            continue;
        }
        if (name == "--help") {
            std::cout << kUsage;
            return 0;
        }
        std::optional<std::string>* slot = nullptr;
        if (name == "--a")
            slot = &opt.a;
        else if (name == "--b")
            slot = &opt.b;
        else if (name == "--x")
            slot = &opt.x;
        else if (name == "--precision")
            slot = &opt.precision;
        else if (name == "--save")
            slot = &opt.save;
        else if (name != "--decimal-separator")
            return Usage("unknown option " + name);
        if (!has_value) {
            if (i + 1 >= argc) return Usage("option " + name + " needs a value");
            value = argv[++i];
        }
        if (slot != nullptr) {
            *slot = value;
        } else {
            if (value.size() != 1) return Usage("--decimal-separator takes one character");
            opt.separator = value[0];
        }
    }
    if (opt.commands.empty()) return Usage("no command given");
    for (const auto& c : opt.commands)
        if (c != "Clear" && FindCommand(c) == nullptr) return Usage("unknown command " + c);
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    if (auto code = ParseArgs(argc, argv, opt)) return *code;

    TForm1 form;
    form.DecimalSeparator = opt.separator ? *opt.separator : LocaleSeparator();
    for (auto [file, box] : {std::pair{&opt.a, &form.RichEdit1}, {&opt.b, &form.RichEdit2}}) {
        if (!*file) continue;
        std::string text;
        if (!ReadText(**file, text)) return Usage("cannot read " + **file);
        *box = SplitLines(text);
    }
    if (opt.x) form.Edit1 = *opt.x;

    PhaseTimes phases;
    if (opt.timings) form.Profile = &phases;
    const auto start = std::chrono::steady_clock::now();
    bool failed = false;
    const ErrorSink report = [&](const std::string& message) {
        std::cerr << message << "\n";
        failed = true;
    };
    if (opt.precision) {
        form.ComboBox1 = *opt.precision;
        Dispatch(form, &TForm1::ComboBox1Change, report);
    }
    for (const auto& name : opt.commands) {
        auto handler = name == "Clear" ? &TForm1::Clear1Click : FindCommand(name)->handler;
        Dispatch(form, handler, report);
    }
    if (opt.save) {
        Dispatch([&] { SaveLines(form.RichEdit3, *opt.save); }, report);
    }

    std::string out;
    for (const auto& line : form.RichEdit3) {
        out += line;
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (opt.timings) {
        using ms = std::chrono::duration<double, std::milli>;
        const ms total = std::chrono::steady_clock::now() - start;
        const ms parse = phases.parse, format = phases.format;
        std::fprintf(stderr, "timings: parse %.3f ms, compute %.3f ms, format %.3f ms\n",
                     parse.count(), (total - parse - format).count(), format.count());
    }
    return failed ? 1 : 0;
}
