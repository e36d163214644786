#include "toolkit/base/Error.h"

namespace tk {

std::string inOutErrorText(unsigned long code) {
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    default:
        return formatMessage("I/O error %d", std::to_string(code));
    }
}

InOutError::InOutError(unsigned long code) : Error(inOutErrorText(code)), code_(code) {}

std::string formatMessage(const std::string& pattern, const std::string& argument) {
    std::string text = pattern;
    auto at = text.find('%');
    if (at != std::string::npos && at + 1 < text.size())
        text.replace(at, 2, argument);
    return text;
}

std::string errorReportText(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

} // namespace tk
