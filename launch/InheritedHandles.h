// The one rule by which a child gets handles of this process: only the
// standard handles it is given, never whatever else happens to be
// inheritable at that moment (a pipe of a game running beside it, a file of
// another run).
#pragma once

#include <windows.h>

#include <vector>

namespace launch {

// A child's start-up information whose attribute list names the only handles
// it inherits.
class InheritedHandles {
public:
    // The handles must be inheritable; duplicates and nulls are left out.
    explicit InheritedHandles(std::vector<HANDLE> handles);
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;
    ~InheritedHandles();

    // False when the system could not make the list: nothing may be started
    // then, or the child would inherit everything.
    bool ready() const { return updated_; }
    LPPROC_THREAD_ATTRIBUTE_LIST list();

private:
    std::vector<HANDLE> handles_;
    std::vector<char> storage_;
    bool initialized_ = false;
    bool updated_ = false;
};

} // namespace launch
