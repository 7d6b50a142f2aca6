#include "result_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "calc_error.h"

namespace {

[[noreturn]] void ThrowCannotCreate(const std::string& path, int err) {
    std::string reason = std::strerror(err);
    if (!reason.empty() && reason.back() != '.') reason += '.';
    // The dispatcher adds the final full stop; keep the system's sentence without it.
    reason.pop_back();
    throw CalcError("Cannot create file \"" + path + "\". " + reason);
}

}  // namespace

void SaveLines(const Lines& lines, const std::string& path) {
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    if (!file) ThrowCannotCreate(path, errno ? errno : EIO);
    std::string text;
    std::size_t total = 0;
    for (const auto& line : lines) total += line.size() + 2;
    text.reserve(total);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size())
        ThrowCannotCreate(path, errno ? errno : EIO);
    std::FILE* raw = file.release();
    if (std::fclose(raw) != 0) ThrowCannotCreate(path, errno ? errno : EIO);
}
