// A folder listing begun before it is wanted, on a thread of its own, so
// that it runs while the caller does other work. The thread decides the
// folders itself; the caller takes the listing only when its own decision,
// made later, is the same, since what the thread read may have changed in
// between. Otherwise the listing is thrown away and the caller lists anew.
#pragma once

#include "toolkit/base/BackgroundWork.h"

#include <functional>
#include <memory>
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
    // Stops the listing between two batches of a folder and waits that long
    // at most (tk::BackgroundWork).
    ~ListingAhead() = default;

    // The files listFiles gave for `decided`, when the thread decided the
    // same; nothing otherwise, and at every call after the first, which
    // throws the listing away either way. Waits for the thread, whose work
    // the caller would otherwise do itself.
    std::optional<std::vector<std::string>> take(const Choice& decided);

private:
    // Shared with the thread, which may outlive this object when it ends.
    struct Listed {
        std::optional<Choice> choice;
        std::vector<std::string> files;
    };

    std::shared_ptr<Listed> listed_ = std::make_shared<Listed>();
    bool taken_ = false;
    BackgroundWork work_;
};

} // namespace tk
