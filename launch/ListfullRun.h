// Has MAME write its list of supported games into "gamelist" in the program
// folder, through the launcher `exe` as the configuration panel's "Apply" does.
#pragma once

#include "launch/Executor.h"
#include "settings/Settings.h"
#include "toolkit/base/Outcome.h"

#include <string>

namespace launch {

struct ListfullResult {
    // The launcher's result, which is 1 also when nothing started.
    int exitCode = 1;
    // The interpreter the run needed ("cmd" or "command") when the system
    // lacks it; empty otherwise.
    std::string missingInterpreter;
};

// Runs MAME with -listfull, its output replacing program folder\gamelist (or
// another file of the program folder). Ordinary paths go through the
// system's cmd (xp) or command with their short forms; a short form the
// interpreter cannot be given runs MAME directly with its output redirected
// by handle. Either way MAME's folder is the child's working directory, the
// owner of `exe` is hidden and the call waits as `exe`'s properties say.
ListfullResult runListfull(TExecutor& exe, const std::string& mameExe,
                           const std::string& programFolder, bool xp,
                           const std::string& fileName = settings::gameListFileName);

// A failure when the list file holds no game list after the run, saying why:
// the interpreter was missing, or the program named as MAME printed none.
tk::Outcome missingGameList(const ListfullResult& run, const std::string& mameExe,
                            const std::string& listFile);

} // namespace launch
