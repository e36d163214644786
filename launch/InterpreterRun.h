// MAME's command-line jobs through the system's own command interpreter, and
// the creation of MAME's configuration file, one of those jobs.
#pragma once

#include "launch/Executor.h"
#include "launch/MameCommands.h"

#include <string>

namespace launch {

// Hands the job to `exe` (FileName, CommandLine) and runs it; the launcher's
// result. An interpreter the system does not have starts nothing, as when
// the launcher finds nothing: 1.
int runInterpreterJob(TExecutor& exe, const InterpreterJob& job);

// Has MAME write its configuration file into its own folder, which the child
// (the interpreter, or MAME itself) gets as its working directory: through
// the system's cmd (xp) or command with its short form, or directly when the
// short form cannot be given to the interpreter. The launcher's result.
int runCreateConfig(TExecutor& exe, const std::string& mameExe, bool xp);

} // namespace launch
