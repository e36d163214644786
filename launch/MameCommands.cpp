#include "launch/MameCommands.h"

#include "settings/Settings.h"

namespace launch {

namespace {

bool quoted(const std::string& path) {
    return path.size() >= 2 && path.front() == '"' && path.back() == '"';
}

} // namespace

InterpreterJob listfullJob(bool xp, const std::string& shortExe, const std::string& shortFolder) {
    std::string command = shortExe + " -listfull >" + shortFolder + "\\" + gameListFileName;
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
    bool needsQuotes = mameexe.find(' ') != std::string::npos && mameexe.front() != '"';
    std::string program = needsQuotes ? "\"" + mameexe + "\"" : mameexe;
    return program + " " + shortName + " " + parameters;
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
