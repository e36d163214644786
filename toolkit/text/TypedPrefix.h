// What a user types into a list to find a row, as the platform's lists take
// it: letters that follow each other within a short pause make one text, and
// the list selects the first row from the top that begins with it; a longer
// pause starts a new text; Backspace takes the last character off. The same
// letter typed again and again moves on to the next row that begins with it,
// and F3 / Shift+F3 look for the last text from the next / previous row. The
// pause is measured between the key messages' own times, in milliseconds, so
// no timer is needed and the count may wrap. Portable: no <windows.h>.
#pragma once

#include <cstdint>
#include <string>

namespace tk {

// The rows a key asks for: those that begin with `text`, the first from the
// top, or the nearest after or before the selected row, wrapping around.
struct RowSearch {
    enum class From { top, next, previous };
    std::u16string text;
    From from = From::top;
};

class TypedPrefix {
public:
    static constexpr std::uint32_t defaultPause = 1000;

    explicit TypedPrefix(std::uint32_t pause = defaultPause) : pause_(pause) {}

    // A UTF-16 unit typed at `time`. The two halves of a character beyond
    // the first plane come as two units.
    const RowSearch& type(char16_t unit, std::uint32_t time);

    // Backspace at `time`: the text without its last character, which goes
    // with both halves when it is a pair; an empty text asks for nothing.
    const RowSearch& erase(std::uint32_t time);

    // F3 (forwards) or Shift+F3: the last text looked for, from the next or
    // the previous row; it leaves the text being typed as it is.
    RowSearch again(bool backwards) const;

    // Whether the user is to hear that the search just made found nothing:
    // once for a text no row begins with, not again for the longer texts
    // typed after it or for the same text looked for again.
    bool signalsMiss(bool found);

    const std::u16string& prefix() const { return prefix_; }

private:
    bool paused(std::uint32_t time) const;
    // The search for the text typed so far, after a letter or a Backspace.
    const RowSearch& search(bool typed);

    std::uint32_t pause_;
    std::u16string prefix_;
    std::uint32_t last_ = 0;
    RowSearch search_;
    std::u16string missed_;
};

} // namespace tk
