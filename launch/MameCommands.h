// The command lines the front-end gives MAME and its command interpreter.
// Pure text work: the short forms of paths are taken by the callers.
#pragma once

#include <string>

namespace launch {

// What the launcher runs: the interpreter and the arguments handed to it.
struct InterpreterJob {
    std::string fileName;
    std::string commandLine;
};

// MAME's game list written into the program folder's "gamelist": through
// "cmd" (xp ticked, the whole command quoted) or "command" (unquoted).
InterpreterJob listfullJob(bool xp, const std::string& shortExe, const std::string& shortFolder);

// MAME writing its configuration file into the current directory.
InterpreterJob createConfigJob(bool xp, const std::string& shortExe);

// The command line that plays a game: MAME as stored, the short name, the
// parameters, one blank between each (so it ends in a blank when there are
// no parameters). A path with a blank is quoted, or Windows would try to
// start its text up to the blank as a program; so is a short name with one,
// which must reach MAME as one argument.
std::string playCommandLine(const std::string& mameexe, const std::string& shortName,
                            const std::string& parameters);

// The path without one pair of enclosing double quotes.
std::string unquoted(const std::string& path);

// The path holds a character cmd treats specially even inside quotes (& ^ ( )
// % !): it could split the command or be expanded.
bool holdsInterpreterSpecial(const std::string& path);

// MAME started without an interpreter to print its game list.
std::string directListfullCommandLine(const std::string& mameExe);

} // namespace launch
