#include "launch/ListfullRun.h"

#include "launch/InterpreterRun.h"
#include "launch/MameCommands.h"
#include "settings/Settings.h"
#include "toolkit/Handles.h"
#include "toolkit/Paths.h"

namespace launch {

namespace {

// The interpreter would read "&" as a command separator and expand "%...%"
// even inside quotes, so MAME writes to the file through an inherited handle.
int runDirectly(TExecutor& exe, const std::string& mameExe, const std::string& listFile) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    tk::FileHandle output(CreateFileA(listFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output)
        return 1;
    return exe.ExecuteDirect(mameExe, directListfullCommandLine(mameExe), output.get());
}

} // namespace

int runListfull(TExecutor& exe, const std::string& mameExe, const std::string& programFolder,
                bool xp) {
    std::string shortExe = tk::shortPath(mameExe);
    std::string shortFolder = tk::shortPath(programFolder);
    if (runsWithoutInterpreter(shortExe) || runsWithoutInterpreter(shortFolder))
        return runDirectly(exe, mameExe, tk::joinPath(programFolder, gameListFileName));
    return runInterpreterJob(exe, listfullJob(xp, tk::systemFolder(), shortExe, shortFolder));
}

} // namespace launch
