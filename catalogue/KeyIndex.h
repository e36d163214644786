// The first-matching-line answers of a whole key-value text, indexed by first
// word: every answer equals the sequential search's on the same text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace catalogue {

// The entries point into the text it holds, so it is neither copied nor moved.
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

} // namespace catalogue
