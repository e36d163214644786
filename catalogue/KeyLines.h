// The line rules of key-value text files (MAME's mame.ini, its -listfull
// output): a line's first word is its key, the rest after the first blank its
// value. Pure text work, shared by the sequential lookup and the game index.
#pragma once

#include "toolkit/text/LineSplitter.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

// Only "a" to "z" are folded: MAME's short names are ASCII, and the bytes of
// other characters (UTF-8 or an older file's code page) must compare unchanged.
char foldKeyChar(char c);
bool sameKey(std::string_view a, std::string_view b);

struct KeyLine {
    std::string_view key;   // up to the first blank; may be empty
    std::string_view value; // after the first blank, leading blanks removed
};

// A line without a blank has no first word and never matches.
std::optional<KeyLine> splitKeyLine(std::string_view line);

// A line of MAME's game list: a short name, blanks, a description in double
// quotes.
bool isGameLine(std::string_view line);

// A key's value and the number of its line, counted from 1 as an editor
// counts them, so that a message can lead the user to it; line 0 when no line
// matches.
struct KeyValue {
    std::string value;
    std::size_t line = 0;
};

// The search for the first line whose first word equals the key, over a text
// that comes in pieces; the value is the empty text when no line matches.
class KeySearch {
public:
    explicit KeySearch(std::string_view key) : key_(key) {}
    // Returns true once the matching line is found; later pieces are not needed.
    bool feed(std::string_view piece);
    std::string finish();
    // After finish(): the matching line's number, 0 when none matched.
    std::size_t line() const { return value_ ? linesSeen_ : 0; }

private:
    bool match(std::string_view line);

    std::string key_;
    tk::LineSplitter lines_;
    std::size_t linesSeen_ = 0;
    std::optional<std::string> value_;
};

std::string lookupKeyInText(std::string_view key, std::string_view text);
KeyValue keyLineInText(std::string_view key, std::string_view text);

} // namespace catalogue
