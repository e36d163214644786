#include "launch/GameListRenewal.h"

#include "toolkit/base/Error.h"

namespace launch {

namespace {

RenewedList renewed(const std::string& mameExe, const std::string& programFolder, bool xp,
                    DWORD milliseconds, HANDLE cancel) {
    // No owner: nothing of the user's is hidden while MAME runs. Nor is the
    // interpreter's console shown over the start that goes on meanwhile.
    TExecutor exe{nullptr};
    exe.Visibility = TMyVisibility::HIDE;
    exe.TimeLimit = milliseconds;
    exe.Cancel = cancel;
    try {
        return writeRenewedList(exe, mameExe, programFolder, xp);
    } catch (const tk::Error& error) {
        return RenewedList::failed(tk::errorReportText(error.what()) +
                                   " The game list stays as it was.");
    }
}

} // namespace

GameListRenewal::GameListRenewal(std::string mameExe, std::string programFolder, bool xp,
                                 DWORD milliseconds, OnEnd onEnd)
    : work_([mameExe = std::move(mameExe), programFolder = std::move(programFolder), xp,
             milliseconds, onEnd = std::move(onEnd)](HANDLE cancel) {
          onEnd(renewed(mameExe, programFolder, xp, milliseconds, cancel));
      }) {}

} // namespace launch
