#include "launch/GameLaunch.h"

#include "launch/MameCommands.h"
#include "launch/MameReport.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

#include <windows.h>

namespace launch {

namespace {

// The system's own text for a failure to start a program.
std::string startFailureReason(DWORD code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason(text ? text : "", length);
    LocalFree(text);
    reason.erase(reason.find_last_not_of(" \r\n") + 1);
    return reason.empty() ? "Error " + std::to_string(code) + "." : reason;
}

} // namespace

std::optional<std::string> launchGame(const std::string& mameexe, const std::string& shortName,
                                      const std::string& parameters, OnProcessEnd onEnd) {
    // Without a program, Windows would take the short name as the program to
    // start.
    if (mameexe.empty())
        return "No MAME executable is configured. Press \"Configure \" and name it.";
    // A ROM file named "-listxml.zip" must not make MAME run one of its jobs.
    if (!gameArgument(shortName))
        return "The game " + shortName +
               " is not started: a name that begins with \"-\" would reach MAME as an option.";
    SetCurrentDirectoryA(tk::folderPart(unquoted(mameexe)).c_str());
    DWORD code = startWatched(playCommandLine(mameexe, shortName, parameters), std::move(onEnd));
    if (code == 0)
        return std::nullopt;
    return "Cannot start " + unquoted(mameexe) + ": " + startFailureReason(code);
}

std::optional<std::string> gameEndReport(const std::string& description,
                                         const std::string& shortName, const ProcessEnd& end) {
    if (end.exitCode == 0)
        return std::nullopt;
    std::vector<std::string> lines = reasonLines(end.output);
    for (std::string& line : lines)
        line = tk::utf8OfUtf8OrAnsi(line);
    return gameEndMessage(description, tk::ansiToUtf8(shortName), end.exitCode, lines);
}

} // namespace launch
