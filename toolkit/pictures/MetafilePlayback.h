// What the system's metafile player keeps while it plays, followed record by
// record by the metafile checks: the table of objects the records create,
// select and delete, how deep the saved states go, and how far the mapping
// enlarges. The player trusts all of it; a record that breaks it is refused.
// Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tk {

// The most a skin can need, far below what makes the player's memory grow
// without bound (a huge arc, font or stack of saved states).
namespace metafileLimits {
// Every coordinate, in the 16-bit range of old-style metafiles and of the
// screens a skin is shown on.
constexpr std::int64_t coordinate = 32767;
// How much larger the viewport's extent may be than the window's on an axis.
constexpr std::int64_t enlargement = 4;
// The height and width of a font, the width of a pen, in logical units.
constexpr std::int64_t fontSize = 1024;
constexpr std::int64_t penWidth = 1024;
// Characters in one text record, colours in one palette, dashes of one pen.
constexpr std::uint64_t characters = 4096;
constexpr std::uint64_t paletteColours = 256;
constexpr std::uint64_t penDashes = 16;
// Saved states on top of one another.
constexpr int savedStates = 64;
} // namespace metafileLimits

bool withinCoordinates(std::int64_t value);

// The kinds of object a record may name.
enum GdiObject : unsigned { noObject = 0, pen = 1, brush = 2, font = 4, palette = 8 };

class MetafilePlayback {
public:
    // A table of `slots` objects, of which the first `reserved` belong to
    // the player (an enhanced metafile's slot 0 is the metafile itself).
    MetafilePlayback(std::size_t slots, std::size_t reserved);

    // An object of `kind` in the lowest free slot, as old-style metafiles
    // place them; false when the table is full.
    bool createInFreeSlot(GdiObject kind);
    // An object of `kind` in the free slot `index`.
    bool createAt(std::uint64_t index, GdiObject kind);
    // Whether `index` names a created object of one of the `kinds`.
    bool names(std::uint64_t index, unsigned kinds) const;
    // Deletes the object `index` names; false when it names none.
    bool remove(std::uint64_t index);

    bool save();
    // Back to the saved state `level`: counted back from the current one
    // when negative, from the first when positive.
    bool restore(std::int64_t level);

    // A window's or viewport's extent, neither of them 0. They are kept
    // whatever the mapping mode: a change of mode keeps the extents or puts
    // those of a fixed mode, which never enlarge.
    bool setWindowExtent(std::int64_t x, std::int64_t y);
    bool setViewportExtent(std::int64_t x, std::int64_t y);
    // The mapping enlarges by at most the limit on either axis.
    bool mappingWithinLimit() const;

private:
    static bool setExtent(std::int64_t (&extent)[2], std::int64_t x, std::int64_t y);

    std::vector<unsigned> slots_;
    std::size_t reserved_;
    int saved_ = 0;
    std::int64_t window_[2] = {1, 1};
    std::int64_t viewport_[2] = {1, 1};
};

} // namespace tk
