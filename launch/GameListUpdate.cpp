#include "launch/GameListUpdate.h"

#include "launch/CapturedOutput.h"
#include "launch/ExitCodes.h"
#include "launch/ListfullRun.h"
#include "launch/MameReport.h"
#include "settings/Settings.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/Paths.h"
#include "toolkit/files/SystemError.h"
#include "toolkit/text/CodePage.h"

namespace launch {

namespace {

// 8.3 as it is, so the interpreter "command" takes it too.
constexpr char renewedListName[] = "gamelist.new";

std::string renewedPath(const std::string& programFolder) {
    return tk::joinPath(programFolder, renewedListName);
}

// A MAME just ended, or the console it wrote through, can hold the file for a
// moment longer. The system's error number when it stays, 0 once it is gone.
DWORD removeRenewed(const std::string& path) {
    const std::wstring wide = tk::fileSystemPath(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    // A read-only file stays however long it is waited for.
    int attempts = attributes & FILE_ATTRIBUTE_READONLY ? 1 : 20;
    DWORD error =
        tk::retriedWhileHeld([&] { return DeleteFileW(wide.c_str()) != 0; }, attempts, 100);
    return error == ERROR_FILE_NOT_FOUND ? 0 : error;
}

std::string secondsText(DWORD milliseconds) {
    DWORD seconds = milliseconds / 1000;
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

RenewedList failed(const std::string& why, const std::string& mameSaid = {}) {
    return RenewedList::failed(why + " The game list stays as it was." + mameSaid);
}

// The list file's name must be free for MAME: a file found there is none of
// this run's, and a list is taken only from a file the run created.
tk::Outcome freedListFile(const std::string& renewed) {
    const std::string blocked = "MAME's new game list cannot be written: " + renewed;
    if (tk::folderExists(renewed))
        return tk::Outcome::failure(blocked + " is a folder.");
    if (DWORD error = removeRenewed(renewed))
        return tk::Outcome::failure(blocked +
                                    " is left from an earlier run and cannot be removed (" +
                                    tk::systemErrorText(error) + ").");
    return tk::Outcome::success();
}

// What the run left in the list file, taken only when MAME says it succeeded
// and the list is whole.
RenewedList judged(const TExecutor& exe, const ListfullResult& run, const std::string& mameExe,
                   const std::string& programFolder, const std::string& renewed,
                   const std::string& errorOutput) {
    if (exe.LastEnd == ChildEnd::cancelled)
        return {RenewedList::Status::cancelled};
    const std::string said = mameSaid(reasonLines(errorOutput));
    if (exe.LastEnd == ChildEnd::timedOut)
        return failed(mameExe + " did not finish its game list within " +
                          secondsText(exe.TimeLimit) + " and was ended.",
                      said);
    // Asked first: a MAME that could write nothing at all is not to blame, and
    // a list cut short by a full disk can still end on a whole line.
    if (tk::diskNearlyFull(programFolder))
        return failed("The disk is full: MAME's new game list does not fit into " + programFolder +
                      ".");
    if (tk::Outcome written = missingGameList(run, mameExe, renewed); written.failed())
        return failed(written.message(), said);
    auto code = static_cast<std::uint32_t>(run.exitCode);
    // However much it printed, a MAME that failed may have left games out.
    if (code != 0)
        return failed(mameExe + " failed while writing its game list: it ended with exit code " +
                          exitCodeNumber(code) + ", " + exitCodeWords(code) + ".",
                      said);
    std::string content = tk::readWholeFile(renewed);
    // MAME ends every line: a last line without its end was cut off.
    if (content.empty() || content.back() != '\n')
        return failed(
            mameExe + " stopped in the middle of its game list: it ended with exit code 0.", said);
    return RenewedList::whole(std::move(content));
}

} // namespace

std::string mameStamp(const std::string& mameExe) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(tk::utf8ToWide(mameExe).c_str(), GetFileExInfoStandard, &data))
        return {};
    auto join = [](DWORD high, DWORD low) { return (ULONGLONG(high) << 32) | low; };
    return std::to_string(join(data.nFileSizeHigh, data.nFileSizeLow)) + " " +
           std::to_string(
               join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime));
}

RenewedList writeRenewedList(TExecutor& exe, const std::string& mameExe,
                             const std::string& programFolder, bool xp) {
    std::string renewed = renewedPath(programFolder);
    // Not waited for: the other copy's MAME writes the same list, and two
    // writing one file would spoil both.
    tk::FileTurn turn(renewed, 0);
    if (!turn.held())
        return {RenewedList::Status::elsewhere};
    if (tk::Outcome freed = freedListFile(renewed); freed.failed())
        return failed(freed.message());
    // Gone however the renewal ends: a partial list would keep a full disk
    // full, and it is no list to keep.
    tk::ScopeExit remove([&] { removeRenewed(renewed); });
    CapturedOutput errors;
    exe.ErrorOutput = errors.handle();
    ListfullResult run = runListfull(exe, mameExe, programFolder, xp, renewedListName);
    exe.ErrorOutput = nullptr;
    return judged(exe, run, mameExe, programFolder, renewed, errors.tail());
}

void installGameList(const std::string& programFolder, std::string_view content) {
    // Written the program's own way (whole, never half), as the list MAME
    // wrote is only what the interpreter left.
    tk::replaceFileContent(tk::joinPath(programFolder, settings::gameListFileName), content);
}

tk::Outcome renewGameList(TExecutor& exe, const std::string& mameExe,
                          const std::string& programFolder, bool xp) {
    RenewedList renewed = writeRenewedList(exe, mameExe, programFolder, xp);
    if (renewed.status != RenewedList::Status::tried)
        return tk::Outcome::failure(
            "Another copy of KESTON PRIME is having MAME write the game list "
            "right now. Press \"Apply\" again when it has finished.");
    if (renewed.outcome.failed())
        return renewed.outcome;
    installGameList(programFolder, renewed.content);
    return tk::Outcome::success();
}

void removeRenewalLeftover(const std::string& programFolder) {
    std::string renewed = renewedPath(programFolder);
    tk::FileTurn turn(renewed, 0);
    if (turn.held())
        DeleteFileW(tk::fileSystemPath(renewed).c_str());
}

} // namespace launch
