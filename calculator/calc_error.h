// The error a handler raises when it must end at once: a text that is not a number, a
// floating-point fault, a file that cannot be created.  The dispatcher reports its message
// followed by a full stop.
#pragma once

#include <stdexcept>
#include <string>

class CalcError : public std::runtime_error {
  public:
    explicit CalcError(const std::string& message)
        : std::runtime_error(message), message_(message) {}

    // The whole message; unlike what(), it keeps any NUL byte a pasted field carried.
    const std::string& message() const { return message_; }

  private:
    std::string message_;
};
