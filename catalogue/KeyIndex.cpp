#include "catalogue/KeyIndex.h"

#include "catalogue/KeyLines.h"

namespace catalogue {
namespace {

std::size_t foldedHash(std::string_view key) {
    std::size_t hash = 14695981039346656037ull; // FNV-1a
    for (char c : key) {
        hash ^= static_cast<unsigned char>(foldKeyChar(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

KeyIndex::KeyIndex(std::string text) : text_(std::move(text)) {
    slots_.resize(1024);
    for (std::string_view line : tk::splitLines(text_))
        add(line);
}

void KeyIndex::add(std::string_view line) {
    auto split = splitKeyLine(line);
    if (!split)
        return;
    std::size_t hash = foldedHash(split->key);
    std::size_t slot = slotOf(split->key, hash);
    if (slots_[slot] != 0)
        return; // the first line of a key wins
    entries_.push_back({split->key, split->value, hash});
    slots_[slot] = static_cast<std::uint32_t>(entries_.size());
    // At most half full, so that a search meets an empty slot soon.
    if (2 * entries_.size() > slots_.size())
        grow();
}

std::size_t KeyIndex::slotOf(std::string_view key, std::size_t hash) const {
    std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        std::uint32_t held = slots_[slot];
        if (held == 0)
            return slot;
        const Entry& entry = entries_[held - 1];
        if (entry.hash == hash && sameKey(entry.key, key))
            return slot;
    }
}

void KeyIndex::grow() {
    slots_.assign(2 * slots_.size(), 0);
    std::size_t mask = slots_.size() - 1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        std::size_t slot = entries_[i].hash & mask;
        while (slots_[slot] != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

std::string_view KeyIndex::lookup(std::string_view key) const {
    std::uint32_t held = slots_[slotOf(key, foldedHash(key))];
    return held == 0 ? std::string_view() : entries_[held - 1].value;
}

} // namespace catalogue
