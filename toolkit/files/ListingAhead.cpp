#include "toolkit/files/ListingAhead.h"

#include "toolkit/files/DirectoryListing.h"

#include <windows.h>

#include <utility>

namespace tk {

ListingAhead::ListingAhead(Decide decide) : decide_(std::move(decide)) {
    // Without a thread there is nothing to take: the caller lists itself.
    thread_.reset(CreateThread(nullptr, 0, &ListingAhead::run, this, 0, nullptr));
    taken_ = !thread_;
}

ListingAhead::~ListingAhead() {
    wait();
}

DWORD WINAPI ListingAhead::run(void* self) {
    auto& listing = *static_cast<ListingAhead*>(self);
    try {
        listing.choice_ = listing.decide_();
        if (listing.choice_)
            listing.files_ = listFiles(listing.choice_->folders, listing.choice_->pattern);
    } catch (...) {
        listing.choice_.reset();
    }
    return 0;
}

void ListingAhead::wait() {
    if (thread_)
        WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
}

std::optional<std::vector<std::string>> ListingAhead::take(const Choice& decided) {
    wait();
    bool first = !std::exchange(taken_, true);
    if (!first || choice_ != decided)
        return std::nullopt;
    return std::move(files_);
}

} // namespace tk
