// What a launching step tells its caller: that it went through, or the text
// that tells the user why not. A failure that ends the whole action is no
// outcome but an exception (tk::Error), which the general error report shows.
#pragma once

#include <string>
#include <utility>

namespace launch {

class [[nodiscard]] Outcome {
public:
    static Outcome success() { return Outcome(false, {}); }
    static Outcome failure(std::string message) { return Outcome(true, std::move(message)); }

    bool failed() const { return failed_; }
    // The text for the user; empty when the step went through.
    const std::string& message() const { return message_; }

private:
    Outcome(bool failed, std::string message) : failed_(failed), message_(std::move(message)) {}

    bool failed_;
    std::string message_;
};

} // namespace launch
