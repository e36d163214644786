#include "launch/MameCommands.h"

namespace launch {

namespace {

bool quoted(const std::string& path) {
    return path.size() >= 2 && path.front() == '"' && path.back() == '"';
}

// A text with a blank is one argument only inside double quotes.
std::string quotedIfBlank(const std::string& text) {
    bool needsQuotes = text.find(' ') != std::string::npos && !quoted(text);
    return needsQuotes ? "\"" + text + "\"" : text;
}

} // namespace

InterpreterJob listfullJob(bool xp, const std::string& shortExe, const std::string& shortFolder) {
    std::string command = shortExe + " -listfull >" + shortFolder + "\\gamelist";
    if (xp)
        return {"cmd", "/c \"" + command + "\""};
    return {"command", "/c " + command};
}

InterpreterJob createConfigJob(bool xp, const std::string& shortExe) {
    std::string command = shortExe + " -cc";
    if (xp)
        return {"cmd", "/c \"" + command + "\""};
    return {"command", "/c " + command};
}

std::string playCommandLine(const std::string& mameexe, const std::string& shortName,
                            const std::string& parameters) {
    return quotedIfBlank(mameexe) + " " + quotedIfBlank(shortName) + " " + parameters;
}

std::string unquoted(const std::string& path) {
    return quoted(path) ? path.substr(1, path.size() - 2) : path;
}

bool holdsInterpreterSpecial(const std::string& path) {
    return path.find_first_of("&^()%!") != std::string::npos;
}

std::string directListfullCommandLine(const std::string& mameExe) {
    return "\"" + mameExe + "\" -listfull";
}

} // namespace launch
