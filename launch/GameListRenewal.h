// A game-list renewal on a thread of its own, so that a MAME that takes long,
// or never ends, holds nothing up: the caller goes on with the list it has
// and hears of the end through a callback. A renewal ended early (by its
// destruction) ends MAME with everything MAME started and removes what it
// wrote.
#pragma once

#include "launch/GameListUpdate.h"
#include "toolkit/base/Handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace launch {

class GameListRenewal {
public:
    // Called once, on the renewal's thread, when the renewal is over.
    using OnEnd = std::function<void(RenewedList)>;

    // MAME gets `milliseconds` to write its list; then it is ended.
    GameListRenewal(std::string mameExe, std::string programFolder, bool xp, DWORD milliseconds,
                    OnEnd onEnd);
    GameListRenewal(const GameListRenewal&) = delete;
    GameListRenewal& operator=(const GameListRenewal&) = delete;
    // Cancels a run still going and waits for the thread, which then ends
    // without delay; the callback hears of the cancellation.
    ~GameListRenewal();

private:
    tk::KernelHandle cancel_;
    std::thread thread_;
};

} // namespace launch
