// A folder listing begun before it is wanted, on a thread of its own, so
// that it runs while the caller does other work. The thread decides the
// folders itself; the caller takes the listing only when its own decision,
// made later, is the same, since what the thread read may have changed in
// between. Otherwise the listing is thrown away and the caller lists anew.
#pragma once

#include "toolkit/base/Handles.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tk {

class ListingAhead {
public:
    struct Choice {
        std::vector<std::string> folders;
        std::string pattern;
        bool operator==(const Choice&) const = default;
    };
    // The folders and pattern to list; nothing when the thread cannot decide
    // alone (a question only the user can answer). An exception counts as
    // nothing: the caller meets the same error when it decides.
    using Decide = std::function<std::optional<Choice>()>;

    explicit ListingAhead(Decide decide);
    ListingAhead(const ListingAhead&) = delete;
    ListingAhead& operator=(const ListingAhead&) = delete;
    // Waits for the thread.
    ~ListingAhead();

    // The files listFiles gave for `decided`, when the thread decided the
    // same; nothing otherwise, and at every call after the first, which
    // throws the listing away either way. Waits for the thread.
    std::optional<std::vector<std::string>> take(const Choice& decided);

private:
    static DWORD WINAPI run(void* self);
    void wait();

    Decide decide_;
    std::optional<Choice> choice_;
    std::vector<std::string> files_;
    bool taken_ = false;
    KernelHandle thread_;
};

} // namespace tk
