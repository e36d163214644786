#include "launch/GameListRenewal.h"

#include "toolkit/base/Error.h"
#include "toolkit/files/SystemError.h"

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
             milliseconds, onEnd](HANDLE cancel) {
          onEnd(renewed(mameExe, programFolder, xp, milliseconds, cancel));
      }) {
    // The caller waits for an end, which only the work would have brought.
    if (!work_.started())
        onEnd(RenewedList::failed(
            "MAME cannot be run for a new game list: " + tk::systemErrorText(work_.startError()) +
            ". The game list stays as it was."));
}

} // namespace launch
