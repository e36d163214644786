// The one line splitter of the text files the program reads (its settings,
// MAME's ini and game list). Lines end at CR LF, at a lone LF and at a lone
// CR: MAME under Linux writes LF only, and files edited elsewhere may mix
// them. Pure text work, without <windows.h>.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

// The lines of a whole text, as views into it, without their line ends. A
// last line without a line end counts; a text ending in a line end has no
// empty line after it.
std::vector<std::string_view> splitLines(std::string_view text);

// The same cut over a text that comes in pieces of any size, so that a reader
// can stop at the line it looks for (a CR LF may be cut between two pieces).
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

} // namespace tk
