// What the system's metafile player keeps while it plays, followed record by
// record by the metafile checks: the table of objects the records create,
// select and delete, how deep the saved states go, how far the mapping
// enlarges, and how much drawing the whole file asks for. The player trusts
// all of it; a record that breaks it is refused. Portable.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
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
// The drawing of a whole file, in nanoseconds of the system's player under
// Wine at the picture's natural size, the largest at which the program shows
// a picture (as MetafilePlayback::draw weighs it).
constexpr std::uint64_t drawingWork = 100'000'000;
} // namespace metafileLimits

bool withinCoordinates(std::int64_t value);

struct Point {
    std::int64_t x = 0;
    std::int64_t y = 0;
};

// The kinds of object a record may name.
enum GdiObject : unsigned { noObject = 0, pen = 1, brush = 2, font = 4, palette = 8 };

class MetafilePlayback {
public:
    // A table of `slots` objects, of which the first `reserved` belong to
    // the player (an enhanced metafile's slot 0 is the metafile itself).
    MetafilePlayback(std::size_t slots, std::size_t reserved);

    // An object of `kind` in the lowest free slot, as old-style metafiles
    // place them; false when the table is full. `size` is a pen's width or
    // a font's size, in logical units.
    bool createInFreeSlot(GdiObject kind, std::int64_t size = 0);
    // An object of `kind` in the free slot `index`.
    bool createAt(std::uint64_t index, GdiObject kind, std::int64_t size = 0);
    // Whether `index` names a created object of one of the `kinds`.
    bool names(std::uint64_t index, unsigned kinds) const;
    // Draws from now on with the pen or font `index` names, if it names one.
    void select(std::uint64_t index);
    // Draws with one of the system's own pens or fonts.
    void selectStock(GdiObject kind);
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

    // The drawing a record asks of the player at the picture's natural size,
    // estimated from above; false once the whole file's drawing passes the
    // limit. Every record costs, and its bytes (which bound the work on its
    // bitmaps and points); lines their length by the pen's width, curves far
    // more (the player strokes a wide curve piece by piece), filled figures
    // their area and their crossing edges, text every character by its size,
    // transfers of pixels their destination's area.
    bool drawRecord(std::uint64_t bytes);
    bool drawSavedState();
    bool drawLines(std::uint64_t across, std::uint64_t down, std::uint64_t edges = 1);
    bool drawFigure(std::int64_t width, std::int64_t height, bool curved);
    bool drawFill(std::uint64_t edges, std::int64_t width, std::int64_t height);
    // The lines joining `count` points back to the first, and for a filled
    // figure the area of their bounds; `point(i)` reads point i.
    template <typename PointAt> bool drawOutline(std::uint64_t count, bool fills, PointAt point);
    bool drawTransfer(std::int64_t width, std::int64_t height);
    bool drawText(std::uint64_t characters);
    // Drawing between a path's start and its end also traces the path,
    // which stroking, widening, filling or clipping by it then draws; the
    // path is gone after all but widening.
    void beginPath() { path_ = Path{}; }
    void abortPath() { path_.reset(); }
    bool strokePath(bool keepsPath = false);
    bool fillPath(bool keepsPath = false);
    // A line from the current position, which then moves to its end. A
    // record that leaves the position where the checks do not follow it
    // forgets it, and the next line is taken at its longest.
    bool lineTo(Point end);
    void moveTo(Point point) { position_ = point; }
    void forgetPosition() { position_.reset(); }

private:
    // The system's pens are one pixel wide, its fonts about 16 high.
    struct Selected {
        std::int64_t pen = 1;
        std::int64_t font = 16;
    };

    static bool setExtent(std::int64_t (&extent)[2], std::int64_t x, std::int64_t y);
    // The traced lines of a path, in pixels, and the size of their bounds.
    struct Path {
        std::uint64_t outline = 0;
        std::uint64_t edges = 0;
        std::uint64_t width = 0;
        std::uint64_t height = 0;
    };

    bool draw(std::uint64_t work);
    std::uint64_t strokeWork(std::uint64_t outline) const;
    std::uint64_t fillWork(std::uint64_t edges, std::uint64_t width, std::uint64_t height) const;
    void addToPath(std::uint64_t outline, std::uint64_t edges, std::uint64_t width,
                   std::uint64_t height);
    std::uint64_t area(std::int64_t width, std::int64_t height) const;
    std::uint64_t scaled(std::uint64_t length, int axis) const;
    std::uint64_t penWidth() const;

    std::vector<unsigned> slots_;
    std::vector<std::int64_t> sizes_;
    std::size_t reserved_;
    // The selected objects of every saved state, the current one last.
    std::vector<Selected> selected_{Selected{}};
    std::int64_t window_[2] = {1, 1};
    std::int64_t viewport_[2] = {1, 1};
    std::optional<Point> position_ = Point{};
    std::optional<Path> path_;
    std::uint64_t work_ = 0;
};

template <typename PointAt>
bool MetafilePlayback::drawOutline(std::uint64_t count, bool fills, PointAt point) {
    if (count == 0)
        return true;
    std::uint64_t across = 0, down = 0;
    Point low = point(0), high = low, last = low;
    for (std::uint64_t i = 1; i <= count; ++i) {
        Point next = point(i % count);
        across += std::uint64_t(std::llabs(next.x - last.x));
        down += std::uint64_t(std::llabs(next.y - last.y));
        low = {std::min(low.x, next.x), std::min(low.y, next.y)};
        high = {std::max(high.x, next.x), std::max(high.y, next.y)};
        last = next;
    }
    return drawLines(across, down, count) &&
           (!fills || drawFill(count, high.x - low.x, high.y - low.y));
}

} // namespace tk
