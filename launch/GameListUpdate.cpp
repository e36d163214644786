#include "launch/GameListUpdate.h"

#include "launch/ExitCodes.h"
#include "launch/ListfullRun.h"
#include "settings/Settings.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

namespace launch {

namespace {

// 8.3 as it is, so the interpreter "command" takes it too.
constexpr char renewedListName[] = "gamelist.new";

std::string renewedPath(const std::string& programFolder) {
    return tk::joinPath(programFolder, renewedListName);
}

// A MAME just ended, or the console it wrote through, can hold the file for a
// moment longer.
void removeRenewed(const std::string& path) {
    const std::wstring wide = tk::fileSystemPath(path);
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (DeleteFileW(wide.c_str()))
            return;
        DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
            return;
        Sleep(100);
    }
}

std::string secondsText(DWORD milliseconds) {
    DWORD seconds = milliseconds / 1000;
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

RenewedList failed(const std::string& why) {
    return {RenewedList::Status::failed, {}, why + " The game list stays as it was."};
}

// What the run left in the list file, taken only when it is a whole list.
RenewedList judged(const TExecutor& exe, const ListfullResult& run, const std::string& mameExe,
                   const std::string& programFolder, const std::string& renewed) {
    if (exe.LastEnd == ChildEnd::cancelled)
        return {RenewedList::Status::cancelled, {}, {}};
    if (exe.LastEnd == ChildEnd::timedOut)
        return failed(mameExe + " did not finish its game list within " +
                      secondsText(exe.TimeLimit) + " and was ended.");
    // Asked first: a MAME that could write nothing at all is not to blame, and
    // a list cut short by a full disk can still end on a whole line.
    if (tk::diskNearlyFull(programFolder))
        return failed("The disk is full: MAME's new game list does not fit into " + programFolder +
                      ".");
    if (Outcome written = missingGameList(run, mameExe, renewed); written.failed())
        return failed(written.message());
    std::string content = tk::readWholeFile(renewed);
    // MAME ends every line: a last line without its end was cut off.
    if (content.empty() || content.back() != '\n')
        return failed(mameExe +
                      " stopped in the middle of its game list: it ended with exit code " +
                      exitCodeNumber(static_cast<std::uint32_t>(run.exitCode)) + ".");
    return {RenewedList::Status::whole, std::move(content), {}};
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
        return {RenewedList::Status::elsewhere, {}, {}};
    // Gone however the renewal ends: a partial list would keep a full disk
    // full, and it is no list to keep.
    tk::ScopeExit remove([&] { removeRenewed(renewed); });
    ListfullResult run = runListfull(exe, mameExe, programFolder, xp, renewedListName);
    return judged(exe, run, mameExe, programFolder, renewed);
}

void installGameList(const std::string& programFolder, std::string_view content) {
    // Written the program's own way (whole, never half), as the list MAME
    // wrote is only what the interpreter left.
    tk::replaceFileContent(tk::joinPath(programFolder, settings::gameListFileName), content);
}

Outcome renewGameList(TExecutor& exe, const std::string& mameExe, const std::string& programFolder,
                      bool xp) {
    RenewedList renewed = writeRenewedList(exe, mameExe, programFolder, xp);
    if (renewed.status == RenewedList::Status::failed)
        return Outcome::failure(renewed.failure);
    if (renewed.status != RenewedList::Status::whole)
        return Outcome::failure("Another copy of KESTON PRIME is having MAME write the game list "
                                "right now. Press \"Apply\" again when it has finished.");
    installGameList(programFolder, renewed.content);
    return Outcome::success();
}

void removeRenewalLeftover(const std::string& programFolder) {
    std::string renewed = renewedPath(programFolder);
    tk::FileTurn turn(renewed, 0);
    if (turn.held())
        DeleteFileW(tk::fileSystemPath(renewed).c_str());
}

} // namespace launch
