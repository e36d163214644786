// Test support: runs an action from inside the next message loop that the
// code under test runs, such as a modal window's, to look at that window
// while it is up and to close it. Cancelled if no loop ran before the end of
// its scope.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

namespace testing_support {

class DuringNextLoop {
public:
    explicit DuringNextLoop(std::function<void()> action) : action_(std::move(action)) {
        current() = this;
        timer_ = SetTimer(nullptr, 0, 0, &DuringNextLoop::fire);
    }
    DuringNextLoop(const DuringNextLoop&) = delete;
    DuringNextLoop& operator=(const DuringNextLoop&) = delete;
    ~DuringNextLoop() {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }

    bool ran() const { return ran_; }

private:
    static DuringNextLoop*& current() {
        static DuringNextLoop* instance = nullptr;
        return instance;
    }

    static void CALLBACK fire(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        DuringNextLoop* self = current();
        if (!self || self->ran_)
            return;
        self->ran_ = true;
        self->action_();
    }

    std::function<void()> action_;
    UINT_PTR timer_ = 0;
    bool ran_ = false;
};

} // namespace testing_support
