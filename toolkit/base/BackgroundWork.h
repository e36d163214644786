// The one way work runs off the window thread: a thread of its own, an event
// that asks the work to stop, and a join with a bound, so that no window's
// end waits for a slow folder or a MAME that takes its time. The work hands
// its result on itself (the windows post it to themselves with
// tk::postToWindow, which drops it once the window is gone).
#pragma once

#include "toolkit/base/Handles.h"

#include <functional>
#include <memory>

namespace tk {

class BackgroundWork {
public:
    // Watches the event it is given and returns soon once it is set.
    using Work = std::function<void(HANDLE cancel)>;

    // How long the end of the owner waits for a cancelled work: a work still
    // going then is left to end on its own, or with the process.
    static constexpr DWORD endingBound = 500;

    // Starts the work at once; without an event or a thread it runs nothing.
    explicit BackgroundWork(Work work);
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;
    // Cancels the work and waits for it, at most endingBound.
    ~BackgroundWork();

    bool started() const { return static_cast<bool>(thread_); }
    // The system's error number for why the work was not begun; 0 once it was.
    DWORD startError() const { return startError_; }
    void cancel() const;
    // Waits for the work's end, at most `milliseconds`; true once it ended.
    bool wait(DWORD milliseconds) const;

private:
    // Shared with the thread, which may outlive its owner.
    struct State {
        KernelHandle cancel;
        Work work;
    };
    static DWORD WINAPI run(void* state);

    std::shared_ptr<State> state_;
    KernelHandle thread_;
    DWORD startError_ = 0;
};

} // namespace tk
