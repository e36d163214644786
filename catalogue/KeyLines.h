// The line rules of key-value text files (MAME's mame.ini, its -listfull
// output): a line's first word is its key, the rest after the first blank its
// value. Pure text work, shared by the sequential lookup and the game index.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

// Only "a" to "z" are folded: MAME's short names are ASCII, and characters of
// the ANSI code page beyond it must compare unchanged.
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

// Cuts text into lines at CR LF, a lone LF or a lone CR; the text may come in
// pieces of any size (a CR LF may be cut between two pieces).
class LineSplitter {
public:
    // Calls `line` for every line completed by `piece` until it returns true;
    // returns whether it did.
    template <typename OnLine> bool feed(std::string_view piece, OnLine&& line);
    // The last line when the text does not end with a line end.
    template <typename OnLine> bool finish(OnLine&& line);

private:
    std::string pending_;
    bool afterCarriageReturn_ = false;
};

// The search for the first line whose first word equals the key, over a text
// that comes in pieces; the value is the empty text when no line matches.
class KeySearch {
public:
    explicit KeySearch(std::string_view key) : key_(key) {}
    // Returns true once the matching line is found; later pieces are not needed.
    bool feed(std::string_view piece);
    std::string finish();

private:
    bool match(std::string_view line);

    std::string key_;
    LineSplitter lines_;
    std::optional<std::string> value_;
};

std::string lookupKeyInText(std::string_view key, std::string_view text);

template <typename OnLine> bool LineSplitter::feed(std::string_view piece, OnLine&& line) {
    std::size_t start = 0;
    if (afterCarriageReturn_ && !piece.empty()) {
        afterCarriageReturn_ = false;
        if (piece.front() == '\n')
            start = 1;
    }
    for (std::size_t at = start; at < piece.size(); ++at) {
        char c = piece[at];
        if (c != '\r' && c != '\n')
            continue;
        std::string_view part = piece.substr(start, at - start);
        bool found;
        if (pending_.empty()) {
            found = line(part);
        } else {
            pending_.append(part);
            found = line(std::string_view(pending_));
            pending_.clear();
        }
        if (found)
            return true;
        if (c == '\r') {
            if (at + 1 == piece.size())
                afterCarriageReturn_ = true;
            else if (piece[at + 1] == '\n')
                ++at;
        }
        start = at + 1;
    }
    pending_.append(piece.substr(start));
    return false;
}

template <typename OnLine> bool LineSplitter::finish(OnLine&& line) {
    afterCarriageReturn_ = false;
    if (pending_.empty())
        return false;
    std::string last = std::move(pending_);
    pending_.clear();
    return line(std::string_view(last));
}

} // namespace catalogue
