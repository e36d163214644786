#include "toolkit/files/ListingAhead.h"

#include "toolkit/files/DirectoryListing.h"

#include <utility>

namespace tk {

ListingAhead::ListingAhead(Decide decide)
    : work_([listed = listed_, decide = std::move(decide)](HANDLE cancel) {
          try {
              listed->choice = decide();
              if (listed->choice)
                  listed->files =
                      listFiles(listed->choice->folders, listed->choice->pattern, cancel);
          } catch (...) {
              listed->choice.reset();
          }
      }) {
    // Without a thread there is nothing to take: the caller lists itself.
    taken_ = !work_.started();
}

std::optional<std::vector<std::string>> ListingAhead::take(const Choice& decided) {
    work_.wait(INFINITE);
    bool first = !std::exchange(taken_, true);
    if (!first || listed_->choice != decided)
        return std::nullopt;
    return std::move(listed_->files);
}

} // namespace tk
