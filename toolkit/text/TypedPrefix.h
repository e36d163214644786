// What a user types into a list to find a row: letters that follow each
// other within a short pause make one prefix; a longer pause starts a new
// one; Backspace takes the last character off. The pause is measured between
// the key messages' own times, in milliseconds, so no timer is needed and the
// count may wrap. Portable: no <windows.h>.
#pragma once

#include <cstdint>
#include <string>

namespace tk {

class TypedPrefix {
public:
    static constexpr std::uint32_t defaultPause = 1000;

    explicit TypedPrefix(std::uint32_t pause = defaultPause) : pause_(pause) {}

    // A UTF-16 unit typed at `time`; the prefix to look for now. The two
    // halves of a character beyond the first plane come as two units.
    const std::u16string& type(char16_t unit, std::uint32_t time);

    // Backspace at `time`: the prefix without its last character, which goes
    // with both halves when it is a pair.
    const std::u16string& erase(std::uint32_t time);

    const std::u16string& prefix() const { return prefix_; }

private:
    bool paused(std::uint32_t time) const;

    std::uint32_t pause_;
    std::u16string prefix_;
    std::uint32_t last_ = 0;
};

} // namespace tk
