#include "toolkit/pictures/MetafilePlayback.h"

#include <cstdlib>

namespace tk {

bool withinCoordinates(std::int64_t value) {
    return value >= -metafileLimits::coordinate && value <= metafileLimits::coordinate;
}

MetafilePlayback::MetafilePlayback(std::size_t slots, std::size_t reserved)
    : slots_(slots, noObject), reserved_(reserved) {}

bool MetafilePlayback::createInFreeSlot(GdiObject kind) {
    for (std::size_t index = reserved_; index < slots_.size(); ++index)
        if (slots_[index] == noObject)
            return createAt(index, kind);
    return false;
}

bool MetafilePlayback::createAt(std::uint64_t index, GdiObject kind) {
    if (index < reserved_ || index >= slots_.size() || slots_[index] != noObject)
        return false;
    slots_[index] = kind;
    return true;
}

bool MetafilePlayback::names(std::uint64_t index, unsigned kinds) const {
    return index >= reserved_ && index < slots_.size() && (slots_[index] & kinds) != 0;
}

bool MetafilePlayback::remove(std::uint64_t index) {
    if (!names(index, pen | brush | font | palette))
        return false;
    slots_[index] = noObject;
    return true;
}

bool MetafilePlayback::save() {
    if (saved_ >= metafileLimits::savedStates)
        return false;
    ++saved_;
    return true;
}

bool MetafilePlayback::restore(std::int64_t level) {
    if (level < 0 && -level <= saved_)
        saved_ += static_cast<int>(level);
    else if (level > 0 && level <= saved_)
        saved_ = static_cast<int>(level) - 1;
    else
        return false;
    return true;
}

// An extent of zero would divide the mapping by zero.
bool MetafilePlayback::setExtent(std::int64_t (&extent)[2], std::int64_t x, std::int64_t y) {
    if (x == 0 || y == 0)
        return false;
    extent[0] = x;
    extent[1] = y;
    return true;
}

bool MetafilePlayback::setWindowExtent(std::int64_t x, std::int64_t y) {
    return setExtent(window_, x, y);
}

bool MetafilePlayback::setViewportExtent(std::int64_t x, std::int64_t y) {
    return setExtent(viewport_, x, y);
}

bool MetafilePlayback::mappingWithinLimit() const {
    for (int axis = 0; axis < 2; ++axis)
        if (std::llabs(viewport_[axis]) > metafileLimits::enlargement * std::llabs(window_[axis]))
            return false;
    return true;
}

} // namespace tk
