#include "toolkit/text/TypedPrefix.h"

namespace tk {

bool TypedPrefix::paused(std::uint32_t time) const {
    // Unsigned difference: right across the count's wrap. A time before the
    // last one (which no queue gives) counts as a long pause.
    return time - last_ > pause_;
}

const std::u16string& TypedPrefix::type(char16_t unit, std::uint32_t time) {
    bool secondHalf = unit >= 0xDC00 && unit < 0xE000 && !prefix_.empty() &&
                      prefix_.back() >= 0xD800 && prefix_.back() < 0xDC00;
    if (!secondHalf && paused(time))
        prefix_.clear();
    prefix_ += unit;
    last_ = time;
    return prefix_;
}

const std::u16string& TypedPrefix::erase(std::uint32_t time) {
    if (!prefix_.empty()) {
        char16_t lastUnit = prefix_.back();
        prefix_.pop_back();
        bool pair = lastUnit >= 0xDC00 && lastUnit < 0xE000 && !prefix_.empty() &&
                    prefix_.back() >= 0xD800 && prefix_.back() < 0xDC00;
        if (pair)
            prefix_.pop_back();
    }
    last_ = time;
    return prefix_;
}

} // namespace tk
