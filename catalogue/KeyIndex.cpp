#include "catalogue/KeyIndex.h"

#include "catalogue/KeyLines.h"

namespace catalogue {

KeyIndex::KeyIndex(std::string text) : text_(std::move(text)) {
    for (std::string_view line : tk::splitLines(text_))
        if (auto split = splitKeyLine(line))
            values_.try_emplace(split->key, split->value); // the first line of a key wins
}

std::string_view KeyIndex::lookup(std::string_view key) const {
    auto found = values_.find(key);
    return found == values_.end() ? std::string_view() : found->second;
}

std::size_t KeyIndex::FoldedHash::operator()(std::string_view key) const {
    std::size_t hash = 14695981039346656037ull; // FNV-1a
    for (char c : key) {
        hash ^= static_cast<unsigned char>(foldKeyChar(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

bool KeyIndex::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
    return sameKey(a, b);
}

} // namespace catalogue
