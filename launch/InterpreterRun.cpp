#include "launch/InterpreterRun.h"

#include "toolkit/files/Paths.h"

namespace launch {

int runInterpreterJob(TExecutor& exe, const InterpreterJob& job) {
    exe.FileName = job.fileName;
    exe.CommandLine = job.commandLine;
    // Without it, Execute's later attempts would have Windows search for a
    // program to run the command line.
    if (!tk::fileExists(job.fileName))
        return 1;
    return exe.Execute();
}

int runCreateConfig(TExecutor& exe, const std::string& mameExe, bool xp) {
    // MAME writes the file into its working directory.
    exe.WorkingDirectory = tk::folderPart(mameExe);
    std::string shortExe = tk::shortPath(mameExe);
    if (runsWithoutInterpreter(shortExe))
        return exe.ExecuteDirect(mameExe, directCreateConfigCommandLine(mameExe));
    return runInterpreterJob(exe, createConfigJob(xp, tk::systemFolder(), shortExe));
}

} // namespace launch
