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
    if (!gameArgumentRefusal(shortName).empty())
        return std::nullopt;
    return shortName.find(' ') != std::string::npos ? "\"" + shortName + "\"" : shortName;
}

std::string gameArgumentRefusal(const std::string& shortName) {
    auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    // A character that splits or ends the argument is the first reason: the
    // "-" after it would not even begin the name MAME sees.
    auto found = std::find_if(shortName.begin(), shortName.end(),
                              [&](char c) { return control(c) || c == '"'; });
    if (found != shortName.end()) {
        const char* what = *found == '"'    ? "a double quote"
                           : *found == '\t' ? "a tab"
                                            : "a control character";
        return std::string("a name with ") + what + " cannot reach MAME as one argument.";
    }
    size_t first = shortName.find_first_not_of(' ');
    if (first != std::string::npos && shortName[first] == '-')
        return "a name that begins with \"-\" would reach MAME as an option.";
    return {};
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
