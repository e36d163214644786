#include "catalogue/KeyIndex.h"

#include "catalogue/KeyLines.h"

namespace catalogue {

KeyIndex::KeyIndex(std::string text) : text_(std::move(text)) {
    // A closing line end makes the last line a view into text_ like all others;
    // it adds no line.
    if (!text_.empty() && text_.back() != '\n' && text_.back() != '\r')
        text_ += '\n';
    LineSplitter lines;
    lines.feed(text_, [this](std::string_view line) {
        if (auto split = splitKeyLine(line))
            values_.try_emplace(split->key, split->value); // the first line of a key wins
        return false;
    });
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
