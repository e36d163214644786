#include "launch/ListfullRun.h"

#include "catalogue/LookupKey.h"
#include "launch/ExitCodes.h"
#include "launch/InterpreterRun.h"
#include "launch/MameCommands.h"
#include "settings/Settings.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

namespace launch {

namespace {

// The interpreter would read "&" as a command separator and expand "%...%"
// even inside quotes, so MAME writes to the file through an inherited handle.
int runDirectly(TExecutor& exe, const std::string& mameExe, const std::string& listFile) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    tk::FileHandle output(CreateFileW(tk::utf8ToWide(listFile).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output)
        return 1;
    return exe.ExecuteDirect(mameExe, directListfullCommandLine(mameExe), output.get());
}

} // namespace

ListfullResult runListfull(TExecutor& exe, const std::string& mameExe,
                           const std::string& programFolder, bool xp, const std::string& fileName) {
    exe.WorkingDirectory = tk::folderPart(mameExe);
    std::string shortExe = tk::shortPath(mameExe);
    std::string shortFolder = tk::shortPath(programFolder);
    if (runsWithoutInterpreter(shortExe) || runsWithoutInterpreter(shortFolder))
        return {runDirectly(exe, mameExe, tk::joinPath(programFolder, fileName)), ""};
    InterpreterJob job = listfullJob(xp, tk::systemFolder(), shortExe, shortFolder, fileName);
    int exitCode = runInterpreterJob(exe, job);
    return {exitCode, tk::fileExists(job.fileName) ? "" : xp ? "cmd" : "command"};
}

tk::Outcome missingGameList(const ListfullResult& run, const std::string& mameExe,
                            const std::string& listFile) {
    if (catalogue::holdsGameList(listFile))
        return tk::Outcome::success();
    const std::string start = "MAME did not write its game list: ";
    if (run.missingInterpreter == "command")
        return tk::Outcome::failure(start + "the command interpreter \"command\" was not found. "
                                            "Tick \"Using Windows XP/2000\" to run MAME through "
                                            "\"cmd\".");
    if (!run.missingInterpreter.empty())
        return tk::Outcome::failure(start + "the command interpreter \"" + run.missingInterpreter +
                                    "\" was not found. Untick \"Using Windows XP/2000\" to run "
                                    "MAME through \"command\".");
    // The interpreter ran what the user named, which printed something else
    // or nothing: a program that is no MAME, or a MAME that failed.
    auto code = static_cast<std::uint32_t>(run.exitCode);
    std::string crash = isExceptionCode(code) ? ", a crash (" + exceptionWords(code) + ")" : "";
    return tk::Outcome::failure(mameExe +
                                " did not print a MAME game list: it ended with exit code " +
                                exitCodeNumber(code) + crash + ".");
}

} // namespace launch
