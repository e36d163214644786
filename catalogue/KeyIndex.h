// The first-matching-line answers of a whole key-value text, indexed by first
// word: every answer equals the sequential search's on the same text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

// The entries point into the text it holds, so it is neither copied nor moved.
// One pass over the text, no allocation per line: an open-addressing table
// of positions in an array of entries, which are the lines in file order.
class KeyIndex {
public:
    explicit KeyIndex(std::string text);
    KeyIndex(const KeyIndex&) = delete;
    KeyIndex& operator=(const KeyIndex&) = delete;

    std::string_view lookup(std::string_view key) const;
    std::size_t size() const { return entries_.size(); }

private:
    struct Entry {
        std::string_view key;
        std::string_view value;
        std::size_t hash;
    };

    void add(std::string_view line);
    // The slot that holds the key's entry, or the empty slot where it belongs.
    std::size_t slotOf(std::string_view key, std::size_t hash) const;
    void grow();

    std::string text_;
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> slots_; // 0: empty; otherwise an entry's index + 1
};

} // namespace catalogue
