#include "toolkit/pictures/MetafilePlayback.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace tk {

namespace {

// What the player spends, in nanoseconds, measured with
// tests/bench/metafile_bench under Wine and rounded up: on every record
// whatever it draws, on each of its bytes, and on saving its state (a copy of
// the whole device context); on each pixel of a line, and more for each
// pixel of the pen's width; on each pixel of a thin curve's outline; on the
// square of a wide curve's outline, more with every few pixels of its
// pen's width (the player strokes it piece by piece as polygons and adds
// each to the others); on each pixel filled, and on each pixel a transfer
// stretches its bitmap over; on each scan line of a filled figure for each
// pair of its edges, which it sorts where they cross; on each character by
// its size, and by its size's square for rendering its glyph.
constexpr std::uint64_t recordWork = 2'000, byteWork = 10, savedStateWork = 80'000;
constexpr std::uint64_t lineWork = 100, penLineWork = 60;
constexpr std::uint64_t curveWork = 2'000, wideCurveWork = 50, penPerCurveWork = 8;
constexpr std::uint64_t pixelFillWork = 10, transferWork = 40, crossingWork = 10;
constexpr std::uint64_t characterWork = 200, characterPadding = 16, glyphWork = 12;

constexpr std::uint64_t most = std::numeric_limits<std::uint64_t>::max();

std::uint64_t product(std::uint64_t a, std::uint64_t b) {
    return a != 0 && b > most / a ? most : a * b;
}

std::uint64_t sum(std::uint64_t a, std::uint64_t b) {
    return b > most - a ? most : a + b;
}

std::uint64_t magnitude(std::int64_t value) {
    return static_cast<std::uint64_t>(std::llabs(value));
}

} // namespace

bool withinCoordinates(std::int64_t value) {
    return value >= -metafileLimits::coordinate && value <= metafileLimits::coordinate;
}

MetafilePlayback::MetafilePlayback(std::size_t slots, std::size_t reserved)
    : slots_(slots, noObject), sizes_(slots, 0), reserved_(reserved) {}

bool MetafilePlayback::createInFreeSlot(GdiObject kind, std::int64_t size) {
    for (std::size_t index = reserved_; index < slots_.size(); ++index)
        if (slots_[index] == noObject)
            return createAt(index, kind, size);
    return false;
}

bool MetafilePlayback::createAt(std::uint64_t index, GdiObject kind, std::int64_t size) {
    if (index < reserved_ || index >= slots_.size() || slots_[index] != noObject)
        return false;
    slots_[index] = kind;
    sizes_[index] = size;
    return true;
}

bool MetafilePlayback::names(std::uint64_t index, unsigned kinds) const {
    return index >= reserved_ && index < slots_.size() && (slots_[index] & kinds) != 0;
}

void MetafilePlayback::select(std::uint64_t index) {
    if (names(index, pen))
        selected_.back().pen = sizes_[index];
    else if (names(index, font))
        selected_.back().font = sizes_[index];
}

void MetafilePlayback::selectStock(GdiObject kind) {
    if (kind == pen)
        selected_.back().pen = Selected{}.pen;
    else if (kind == font)
        selected_.back().font = Selected{}.font;
}

bool MetafilePlayback::remove(std::uint64_t index) {
    if (!names(index, pen | brush | font | palette))
        return false;
    slots_[index] = noObject;
    return true;
}

bool MetafilePlayback::save() {
    if (selected_.size() > metafileLimits::savedStates)
        return false;
    selected_.push_back(selected_.back());
    return true;
}

bool MetafilePlayback::restore(std::int64_t level) {
    auto saved = static_cast<std::int64_t>(selected_.size()) - 1;
    if (level < 0 && -level <= saved)
        selected_.resize(static_cast<std::size_t>(saved + level + 1));
    else if (level > 0 && level <= saved)
        selected_.resize(static_cast<std::size_t>(level));
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
        if (magnitude(viewport_[axis]) > metafileLimits::enlargement * magnitude(window_[axis]))
            return false;
    return true;
}

// Rounded up: a length that shrinks to nothing still touches a pixel.
std::uint64_t MetafilePlayback::scaled(std::uint64_t length, int axis) const {
    std::uint64_t window = magnitude(window_[axis]);
    return sum(product(length, magnitude(viewport_[axis])), window - 1) / window;
}

std::uint64_t MetafilePlayback::penWidth() const {
    return std::max<std::uint64_t>(1, scaled(magnitude(selected_.back().pen), 0));
}

bool MetafilePlayback::draw(std::uint64_t work) {
    work_ = sum(work_, work);
    return work_ <= metafileLimits::drawingWork;
}

std::uint64_t MetafilePlayback::area(std::int64_t width, std::int64_t height) const {
    return product(scaled(magnitude(width), 0) + 1, scaled(magnitude(height), 1) + 1);
}

bool MetafilePlayback::drawRecord(std::uint64_t bytes) {
    return draw(sum(recordWork, product(bytes, byteWork)));
}

bool MetafilePlayback::drawSavedState() {
    return draw(savedStateWork);
}

bool MetafilePlayback::drawLines(std::uint64_t across, std::uint64_t down, std::uint64_t edges) {
    std::uint64_t width = scaled(across, 0), height = scaled(down, 1), length = sum(width, height);
    addToPath(length, edges, width, height);
    return draw(product(length, sum(lineWork, product(penWidth() - 1, penLineWork))));
}

// The outline of a rectangle or of the ellipse inside it, and its inside.
bool MetafilePlayback::drawFigure(std::int64_t width, std::int64_t height, bool curved) {
    if (!curved)
        return drawLines(2 * magnitude(width), 2 * magnitude(height), 4) &&
               drawFill(4, width, height);
    std::uint64_t across = scaled(magnitude(width), 0), down = scaled(magnitude(height), 1);
    std::uint64_t outline = 2 * sum(across, down);
    // A curve in a path becomes lines a few pixels long.
    addToPath(outline, outline / 4 + 4, across, down);
    return draw(strokeWork(outline)) && drawFill(4, width, height);
}

bool MetafilePlayback::drawFill(std::uint64_t edges, std::int64_t width, std::int64_t height) {
    return draw(fillWork(edges, scaled(magnitude(width), 0), scaled(magnitude(height), 1)));
}

std::uint64_t MetafilePlayback::strokeWork(std::uint64_t outline) const {
    return penWidth() == 1
               ? product(outline, curveWork)
               : product(product(outline, outline), wideCurveWork + penWidth() / penPerCurveWork);
}

std::uint64_t MetafilePlayback::fillWork(std::uint64_t edges, std::uint64_t width,
                                         std::uint64_t height) const {
    std::uint64_t crossings = product(product(edges, edges), height + 1);
    return sum(product(product(width + 1, height + 1), pixelFillWork),
               product(crossings, crossingWork));
}

void MetafilePlayback::addToPath(std::uint64_t outline, std::uint64_t edges, std::uint64_t width,
                                 std::uint64_t height) {
    if (!path_)
        return;
    path_->outline = sum(path_->outline, outline);
    path_->edges = sum(path_->edges, edges);
    path_->width = std::max(path_->width, width);
    path_->height = std::max(path_->height, height);
}

// A path's every line may be a curve's piece, stroked with the pen selected
// now; widening it leaves a path of as many edges as its outline has pixels.
bool MetafilePlayback::strokePath(bool keepsPath) {
    Path path = path_.value_or(Path{});
    if (keepsPath && path_)
        path_->edges = sum(path_->edges, path_->outline);
    else
        path_.reset();
    return draw(strokeWork(path.outline));
}

bool MetafilePlayback::fillPath(bool keepsPath) {
    Path path = path_.value_or(Path{});
    if (!keepsPath)
        path_.reset();
    return draw(fillWork(path.edges, path.width, path.height));
}

bool MetafilePlayback::drawTransfer(std::int64_t width, std::int64_t height) {
    return draw(product(area(width, height), transferWork));
}

bool MetafilePlayback::drawText(std::uint64_t characters) {
    std::uint64_t size = scaled(magnitude(selected_.back().font), 1) + characterPadding;
    return draw(product(
        characters, sum(product(size, characterWork), product(product(size, size), glyphWork))));
}

bool MetafilePlayback::lineTo(Point end) {
    constexpr std::uint64_t longest = 2 * metafileLimits::coordinate;
    bool drawn = position_
                     ? drawLines(magnitude(end.x - position_->x), magnitude(end.y - position_->y))
                     : drawLines(longest, longest);
    position_ = end;
    return drawn;
}

} // namespace tk
