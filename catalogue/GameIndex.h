// The gamelist file read once per list build and indexed by first word, so
// that tens of thousands of ROM files cost one read instead of one read each.
// Every answer equals LookupKey's on the same file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace catalogue {

// The first-matching-line answers of a whole text. The entries point into the
// text it holds, so it is neither copied nor moved.
class KeyIndex {
public:
    explicit KeyIndex(std::string text);
    KeyIndex(const KeyIndex&) = delete;
    KeyIndex& operator=(const KeyIndex&) = delete;

    std::string_view lookup(std::string_view key) const;
    std::size_t size() const { return values_.size(); }

private:
    struct FoldedHash {
        std::size_t operator()(std::string_view key) const;
    };
    struct FoldedEqual {
        bool operator()(std::string_view a, std::string_view b) const;
    };

    std::string text_;
    std::unordered_map<std::string_view, std::string_view, FoldedHash, FoldedEqual> values_;
};

// A KeyIndex of one file, read at the first lookup: a missing or unreadable
// file raises LookupKey's error at that moment, and only when there is
// something to look up.
class GameIndex {
public:
    explicit GameIndex(std::string fileName) : fileName_(std::move(fileName)) {}

    std::string lookup(const std::string& baseName);

private:
    std::string fileName_;
    std::optional<KeyIndex> index_;
};

} // namespace catalogue
