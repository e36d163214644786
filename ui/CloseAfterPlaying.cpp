#include "ui/CloseAfterPlaying.h"

namespace ui {

namespace {

constexpr UINT_PTR waitTimer = 1;

} // namespace

void CloseAfterPlaying::start(HWND window, unsigned launch) {
    launch_ = launch;
    SetTimer(window, waitTimer, delay, nullptr);
}

bool CloseAfterPlaying::ended(HWND window, unsigned launch) {
    if (launch_ != launch)
        return false;
    stop(window);
    return true;
}

bool CloseAfterPlaying::expired(HWND window, UINT_PTR timer) {
    if (timer != waitTimer)
        return false;
    stop(window);
    return true;
}

void CloseAfterPlaying::stop(HWND window) {
    KillTimer(window, waitTimer);
    launch_.reset();
}

} // namespace ui
