// A game-list renewal on a thread of its own, so that a MAME that takes long,
// or never ends, holds nothing up: the caller goes on with the list it has
// and hears of the end through a callback. A renewal ended early (by its
// destruction) ends MAME with everything MAME started and removes what it
// wrote.
#pragma once

#include "launch/GameListUpdate.h"
#include "toolkit/base/BackgroundWork.h"

#include <windows.h>

#include <functional>
#include <string>

namespace launch {

class GameListRenewal {
public:
    // Called once, on the renewal's thread, when the renewal is over; when
    // the system gives no thread for it, at once, with the failure.
    using OnEnd = std::function<void(RenewedList)>;

    // MAME gets `milliseconds` to write its list; then it is ended.
    GameListRenewal(std::string mameExe, std::string programFolder, bool xp, DWORD milliseconds,
                    OnEnd onEnd);
    GameListRenewal(const GameListRenewal&) = delete;
    GameListRenewal& operator=(const GameListRenewal&) = delete;
    // Cancels a run still going and waits a moment for its end (MAME
    // ended, its file removed); the callback hears of the cancellation.
    // What is not over by then ends with the program, and the next start
    // removes the file.
    ~GameListRenewal() = default;

private:
    tk::BackgroundWork work_;
};

} // namespace launch
