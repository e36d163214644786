#include "launch/GameLaunch.h"

#include "launch/MameCommands.h"
#include "toolkit/files/Paths.h"

#include <windows.h>

namespace launch {

namespace {

// The system's own text for a WinExec failure, which uses the system's error
// numbers except for 0.
std::string startFailureReason(UINT code) {
    if (code == 0)
        return "The system is out of memory or resources.";
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
                                      const std::string& parameters) {
    // Without a program, Windows would take the short name as the program to
    // start.
    if (mameexe.empty())
        return "No MAME executable is configured. Press \"Configure \" and name it.";
    // A ROM file named "-listxml.zip" must not make MAME run one of its jobs.
    if (!gameArgument(shortName))
        return "The game " + shortName +
               " is not started: a name that begins with \"-\" would reach MAME as an option.";
    SetCurrentDirectoryA(tk::folderPart(unquoted(mameexe)).c_str());
    UINT code = WinExec(playCommandLine(mameexe, shortName, parameters).c_str(), SW_SHOWNORMAL);
    if (code > 31)
        return std::nullopt;
    return "Cannot start " + unquoted(mameexe) + ": " + startFailureReason(code);
}

} // namespace launch
