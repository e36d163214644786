// "Close After Playing" once MAME started: the window waits out of sight for
// a while, so that a MAME failing at once can still say why. It closes when
// the time runs out with MAME still running, or when MAME ends well before;
// a MAME that fails first brings it back.
#pragma once

#include <windows.h>

#include <optional>

namespace ui {

class CloseAfterPlaying {
public:
    // How long the window waits for MAME to fail, in milliseconds.
    UINT delay = 5000;

    // Waits for this launch, on a timer of the window.
    void start(HWND window, unsigned launch);
    // Whether the window was waiting for this launch, which it no longer does.
    bool ended(HWND window, unsigned launch);
    // Whether `timer` is the wait's, which is then over.
    bool expired(HWND window, UINT_PTR timer);

private:
    void stop(HWND window);

    std::optional<unsigned> launch_;
};

} // namespace ui
