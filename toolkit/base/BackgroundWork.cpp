#include "toolkit/base/BackgroundWork.h"

#include <utility>

namespace tk {

BackgroundWork::BackgroundWork(Work work)
    : state_(std::make_shared<State>(
          State{KernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr)), std::move(work)})) {
    // A work that could not be asked to stop is not begun.
    if (!state_->cancel) {
        startError_ = GetLastError();
        return;
    }
    auto* shared = new std::shared_ptr<State>(state_);
    thread_.reset(CreateThread(nullptr, 0, &BackgroundWork::run, shared, 0, nullptr));
    if (!thread_) {
        startError_ = GetLastError();
        delete shared;
    }
}

BackgroundWork::~BackgroundWork() {
    cancel();
    wait(endingBound);
}

DWORD WINAPI BackgroundWork::run(void* state) {
    std::unique_ptr<std::shared_ptr<State>> shared(static_cast<std::shared_ptr<State>*>(state));
    // Nothing may leave the thread; a work reports its own failures.
    try {
        (*shared)->work((*shared)->cancel.get());
    } catch (...) {
    }
    return 0;
}

void BackgroundWork::cancel() const {
    if (state_->cancel)
        SetEvent(state_->cancel.get());
}

bool BackgroundWork::wait(DWORD milliseconds) const {
    return !thread_ || WaitForSingleObject(thread_.get(), milliseconds) == WAIT_OBJECT_0;
}

} // namespace tk
