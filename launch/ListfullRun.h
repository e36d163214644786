// Has MAME write its list of supported games into "gamelist" in the program
// folder, through the launcher `exe` as the configuration panel's "Apply" does.
#pragma once

#include "launch/Executor.h"

#include <string>

namespace launch {

// Runs MAME with -listfull, its output replacing program folder\gamelist, and
// returns the launcher's result (1 when nothing started). Ordinary paths go
// through the system's cmd (xp) or command with their short forms; a short
// form the interpreter cannot be given runs MAME directly with its output
// redirected by handle. Either way the owner of `exe` is hidden and the call
// waits as `exe`'s properties say.
int runListfull(TExecutor& exe, const std::string& mameExe, const std::string& programFolder,
                bool xp);

} // namespace launch
