#include "toolkit/text/TypedPrefix.h"

#include <algorithm>

namespace tk {
namespace {

bool isHighHalf(char16_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}

bool isLowHalf(char16_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

} // namespace

bool TypedPrefix::paused(std::uint32_t time) const {
    // Unsigned difference: right across the count's wrap. A time before the
    // last one (which no queue gives) counts as a long pause.
    return time - last_ > pause_;
}

const RowSearch& TypedPrefix::search(bool typed) {
    bool repeat = prefix_.size() > 1 && std::all_of(prefix_.begin(), prefix_.end(),
                                                    [&](char16_t u) { return u == prefix_[0]; });
    // "sss" is no text to look for but a walk through the rows with "s",
    // on from the row the letter before selected.
    search_.text = repeat ? prefix_.substr(0, 1) : prefix_;
    search_.from = repeat && typed ? RowSearch::From::next : RowSearch::From::top;
    return search_;
}

const RowSearch& TypedPrefix::type(char16_t unit, std::uint32_t time) {
    bool secondHalf = isLowHalf(unit) && !prefix_.empty() && isHighHalf(prefix_.back());
    if (!secondHalf && paused(time))
        prefix_.clear();
    prefix_ += unit;
    last_ = time;
    return search(true);
}

const RowSearch& TypedPrefix::erase(std::uint32_t time) {
    if (!prefix_.empty()) {
        char16_t lastUnit = prefix_.back();
        prefix_.pop_back();
        if (isLowHalf(lastUnit) && !prefix_.empty() && isHighHalf(prefix_.back()))
            prefix_.pop_back();
    }
    last_ = time;
    return search(false);
}

RowSearch TypedPrefix::again(bool backwards) const {
    return {search_.text, backwards ? RowSearch::From::previous : RowSearch::From::next};
}

bool TypedPrefix::signalsMiss(bool found) {
    if (found) {
        missed_.clear();
        return false;
    }
    bool heard = !missed_.empty() && search_.text.starts_with(missed_);
    missed_ = search_.text;
    return !heard;
}

} // namespace tk
