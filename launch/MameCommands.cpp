#include "launch/MameCommands.h"

#include "settings/Settings.h"

#include <algorithm>

namespace launch {

namespace {

bool quoted(const std::string& path) {
    return path.size() >= 2 && path.front() == '"' && path.back() == '"';
}

// cmd takes the command quoted whole; command takes no quotes.
InterpreterJob interpreterJob(bool xp, const std::string& systemFolder,
                              const std::string& command) {
    std::string arguments = xp ? "/c \"" + command + "\"" : "/c " + command;
    return {interpreterPath(xp, systemFolder), arguments};
}

// A text with a blank is one argument only inside double quotes.
std::string quotedIfBlank(const std::string& text) {
    bool needsQuotes = text.find(' ') != std::string::npos && !quoted(text);
    return needsQuotes ? "\"" + text + "\"" : text;
}

} // namespace

std::string interpreterPath(bool xp, const std::string& systemFolder) {
    // Without a system folder the path would name the current drive's root.
    if (systemFolder.empty())
        return {};
    return systemFolder + (xp ? "\\cmd.exe" : "\\command.com");
}

InterpreterJob listfullJob(bool xp, const std::string& systemFolder, const std::string& shortExe,
                           const std::string& shortFolder, const std::string& fileName) {
    return interpreterJob(xp, systemFolder,
                          shortExe + " -listfull >" + shortFolder + "\\" + fileName);
}

InterpreterJob createConfigJob(bool xp, const std::string& systemFolder,
                               const std::string& shortExe) {
    return interpreterJob(xp, systemFolder, shortExe + " -cc");
}

std::optional<std::string> gameArgument(const std::string& shortName) {
    auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    size_t first = shortName.find_first_not_of(' ');
    if ((first != std::string::npos && shortName[first] == '-') ||
        shortName.find('"') != std::string::npos ||
        std::any_of(shortName.begin(), shortName.end(), control))
        return std::nullopt;
    return shortName.find(' ') != std::string::npos ? "\"" + shortName + "\"" : shortName;
}

std::string playCommandLine(const std::string& mameexe, const std::string& shortName,
                            const std::string& parameters) {
    return quotedIfBlank(mameexe) + " " + gameArgument(shortName).value_or("") + " " + parameters;
}

std::string unquoted(const std::string& path) {
    return quoted(path) ? path.substr(1, path.size() - 2) : path;
}

bool runsWithoutInterpreter(const std::string& shortForm) {
    return shortForm.find_first_of("&^()%! ") != std::string::npos;
}

std::string directListfullCommandLine(const std::string& mameExe) {
    return "\"" + mameExe + "\" -listfull";
}

std::string directCreateConfigCommandLine(const std::string& mameExe) {
    return "\"" + mameExe + "\" -cc";
}

} // namespace launch
