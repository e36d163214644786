// Test support: a file's write turn held by another thread, as another copy
// of the program holds it in the middle of a write (or stopped there), until
// released.
#pragma once

#include "toolkit/files/AtomicFile.h"

#include <future>
#include <string>
#include <thread>

namespace testing_support {

class HeldTurn {
public:
    explicit HeldTurn(const std::string& path)
        : holder_([this, path] {
              tk::FileTurn turn(path, 0);
              taken_.set_value(turn.held());
              release_.get_future().wait();
          }),
          held_(taken_.get_future().get()) {}
    HeldTurn(const HeldTurn&) = delete;
    HeldTurn& operator=(const HeldTurn&) = delete;
    ~HeldTurn() { release(); }

    // Whether the other thread got the turn at all.
    bool held() const { return held_; }

    void release() {
        if (!holder_.joinable())
            return;
        release_.set_value();
        holder_.join();
    }

private:
    std::promise<bool> taken_;
    std::promise<void> release_;
    std::thread holder_;
    bool held_;
};

} // namespace testing_support
