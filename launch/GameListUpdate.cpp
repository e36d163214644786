#include "launch/GameListUpdate.h"

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

Outcome renewGameList(TExecutor& exe, const std::string& mameExe, const std::string& programFolder,
                      bool xp) {
    std::string renewed = tk::joinPath(programFolder, renewedListName);
    // Gone however the renewal ends, a failed replacement included.
    tk::ScopeExit remove([&] { DeleteFileW(tk::utf8ToWide(renewed).c_str()); });
    ListfullResult run = runListfull(exe, mameExe, programFolder, xp, renewedListName);
    if (Outcome written = missingGameList(run, mameExe, renewed); written.failed())
        return Outcome::failure(written.message() + " The game list stays as it was.");
    // Written the program's own way (whole, never half), as the list MAME
    // wrote is only what the interpreter left.
    tk::replaceFileContent(tk::joinPath(programFolder, settings::gameListFileName),
                           tk::readWholeFile(renewed));
    return Outcome::success();
}

} // namespace launch
