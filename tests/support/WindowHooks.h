// Test support: the system's window hooks of the current thread, for what a
// test must see or provoke inside the windows' own code without the product
// carrying anything for it. Each is installed for its lifetime, one of a kind
// at a time.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// Calls `seen` with the window of each `message` sent to a window of this
// thread, before the window's procedure has it: WM_PAINT, for example, shows
// what a window puts on the screen at the moment it does.
class SentMessageWatch {
public:
    SentMessageWatch(UINT message, std::function<void(HWND)> seen);
    SentMessageWatch(const SentMessageWatch&) = delete;
    SentMessageWatch& operator=(const SentMessageWatch&) = delete;
    ~SentMessageWatch();

private:
    static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam);

    UINT message_;
    std::function<void(HWND)> seen_;
    HHOOK hook_;
};

// Makes the system refuse to create any window with the given caption, as it
// does when it runs short of resources: the creating call returns no window.
class RefusedWindowCreation {
public:
    explicit RefusedWindowCreation(std::string caption);
    RefusedWindowCreation(const RefusedWindowCreation&) = delete;
    RefusedWindowCreation& operator=(const RefusedWindowCreation&) = delete;
    ~RefusedWindowCreation();

    int refusals() const { return refusals_; }

private:
    static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam);

    std::string caption_;
    int refusals_ = 0;
    HHOOK hook_;
};

} // namespace testing_support
