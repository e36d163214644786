// The gamelist file read once per list build and indexed by first word, so
// that tens of thousands of ROM files cost one read instead of one read each.
// Every answer equals LookupKey's on the same file.
#pragma once

#include "catalogue/KeyIndex.h"

#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

// A KeyIndex of one file, read at the first lookup: a missing or unreadable
// file raises LookupKey's error at that moment, and only when there is
// something to look up.
class GameIndex {
public:
    explicit GameIndex(std::string fileName) : fileName_(std::move(fileName)) {}

    std::string lookup(std::string_view baseName);

private:
    std::string fileName_;
    std::optional<KeyIndex> index_;
};

} // namespace catalogue
