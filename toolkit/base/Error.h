// The error model: every failure the user is told about is an Error carrying
// its user-facing text. Handlers let it pass; the window procedure wrapper
// reports it and the program goes on.
#pragma once

#include <stdexcept>
#include <string>

namespace tk {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An input/output failure named by the operating system's error number.
class InOutError : public Error {
public:
    explicit InOutError(unsigned long code);
    unsigned long code() const { return code_; }

private:
    unsigned long code_;
};

std::string inOutErrorText(unsigned long code);

// Replaces the one "%s" (or "%d") of a fixed message with the argument.
std::string formatMessage(const std::string& pattern, const std::string& argument);

// The general error report's text: a full stop is appended when the last
// character sorts after "." (letters and digits do; "!" and ")" do not).
std::string errorReportText(std::string text);

} // namespace tk
