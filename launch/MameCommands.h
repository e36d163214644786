// The command lines the front-end gives MAME and its command interpreter.
// Pure text work: the short forms of paths are taken by the callers.
#pragma once

#include "settings/Settings.h"

#include <optional>
#include <string>

namespace launch {

// What the launcher runs: the interpreter and the arguments handed to it.
struct InterpreterJob {
    std::string fileName;
    std::string commandLine;
};

// The system's own interpreter by its full path in the system folder:
// cmd.exe (xp ticked) or command.com. Named by its bare name, the launcher
// would find a program of that name in the program folder or the current
// directory (a folder of downloaded files) first. Empty without a system
// folder.
std::string interpreterPath(bool xp, const std::string& systemFolder);

// MAME's game list written into the program folder's "gamelist", or another
// file of it: through cmd (xp ticked, the whole command quoted) or command
// (unquoted).
InterpreterJob listfullJob(bool xp, const std::string& systemFolder, const std::string& shortExe,
                           const std::string& shortFolder,
                           const std::string& fileName = settings::gameListFileName);

// MAME writing its configuration file into its working directory.
InterpreterJob createConfigJob(bool xp, const std::string& systemFolder,
                               const std::string& shortExe);

// A game's short name as MAME's one argument: quoted when it holds a blank,
// at which MAME splits its command line. Nothing when no quoting can keep it
// one argument that MAME takes for a game: it begins with "-" (after any
// blanks), which makes it an option, or holds a double quote or a control
// character (a tab splits it; a quote ends the quoting). A ROM folder on a
// share or on another system's disk can hold such names.
std::optional<std::string> gameArgument(const std::string& shortName);

// Why gameArgument gives nothing for the short name, as the end of a sentence
// for the user ("a name with a tab cannot reach MAME as one argument");
// empty when it gives an argument.
std::string gameArgumentRefusal(const std::string& shortName);

// The command line that plays a game: MAME as stored, the short name as
// gameArgument gives it, the parameters, one blank between each (so it ends
// in a blank when there are no parameters). A path with a blank is quoted,
// or Windows would try to start its text up to the blank as a program.
std::string playCommandLine(const std::string& mameexe, const std::string& shortName,
                            const std::string& parameters);

// The path without one pair of enclosing double quotes.
std::string unquoted(const std::string& path);

// A short form the interpreter cannot be given: it holds a character cmd acts
// on even inside quotes (& ^ ( ) % !), which could split the command or be
// expanded, or it still holds a blank (a volume without 8.3 names gives the
// long form back), at which command splits it. MAME then runs directly.
// Letters outside ASCII are no reason: cmd gets its command line in Unicode
// and creates the redirect target by the name it is given.
bool runsWithoutInterpreter(const std::string& shortForm);

// MAME started without an interpreter to print its game list.
std::string directListfullCommandLine(const std::string& mameExe);

// MAME started without an interpreter to write its configuration file.
std::string directCreateConfigCommandLine(const std::string& mameExe);

} // namespace launch
