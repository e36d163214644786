// What a step that can fail tells its caller: that it went through, or the
// text that tells the user why not. The caller decides when and whether the
// user hears it, so a failure that must not stop the rest (a start that goes
// on with the files it has) is no exception. A failure that ends the whole
// action is no outcome but an Error (Error.h), which the general error report
// shows.
#pragma once

#include <string>
#include <utility>

namespace tk {

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

} // namespace tk
