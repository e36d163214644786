#include "toolkit/pictures/EnhancedRecords.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

namespace tk {
namespace {

namespace limits = metafileLimits;

using Check = bool (*)(const ByteReader& record, MetafilePlayback& playback);

// Every field counts bytes from the start of the record, its type and size
// included.
std::int64_t signedAt(const ByteReader& record, std::size_t at) {
    return record.get<std::int32_t>(at).value_or(0);
}

std::uint64_t unsignedAt(const ByteReader& record, std::size_t at) {
    return record.get<std::uint32_t>(at).value_or(0);
}

bool finiteAt(const ByteReader& record, std::size_t at) {
    return std::isfinite(std::bit_cast<float>(record.get<std::uint32_t>(at).value_or(0)));
}

// `count` signed coordinates from `at`, each within the limit.
bool coordinates(const ByteReader& record, std::size_t at, std::uint64_t count) {
    for (std::uint64_t i = 0; i < count; ++i)
        if (!withinCoordinates(signedAt(record, at + 4 * i)))
            return false;
    return true;
}

// A shape of `count` coordinates from the first field after the type and
// size, drawn through a mapping that stays within the limit.
template <std::uint64_t count> bool shape(const ByteReader& record, MetafilePlayback& playback) {
    return coordinates(record, 8, count) && playback.mappingWithinLimit();
}

template <std::uint64_t count> bool place(const ByteReader& record, MetafilePlayback&) {
    return coordinates(record, 8, count);
}

// A shape whose first four coordinates are its bounding rectangle: a
// rectangle, or a curve inside it.
template <std::uint64_t count, bool curved = true>
bool figure(const ByteReader& record, MetafilePlayback& playback) {
    return shape<count>(record, playback) &&
           playback.drawFigure(signedAt(record, 16) - signedAt(record, 8),
                               signedAt(record, 20) - signedAt(record, 12), curved);
}

Point pointAt(const ByteReader& record, std::size_t at) {
    return {signedAt(record, at), signedAt(record, at + 4)};
}

bool moveTo(const ByteReader& record, MetafilePlayback& playback) {
    playback.moveTo(pointAt(record, 8));
    return place<2>(record, playback);
}

bool lineTo(const ByteReader& record, MetafilePlayback& playback) {
    return shape<2>(record, playback) && playback.lineTo(pointAt(record, 8));
}

// An arc drawn on from the current position, which it leaves at its end.
bool arcTo(const ByteReader& record, MetafilePlayback& playback) {
    playback.forgetPosition();
    return figure<8>(record, playback);
}

bool angleArc(const ByteReader& record, MetafilePlayback& playback) {
    auto diameter = 2 * std::int64_t(unsignedAt(record, 16));
    playback.forgetPosition();
    return shape<2>(record, playback) && withinCoordinates(std::int64_t(unsignedAt(record, 16))) &&
           finiteAt(record, 20) && finiteAt(record, 24) &&
           playback.drawFigure(diameter, diameter, true);
}

// What connected points of `pointBytes` each draw: their lines, and for a
// filled figure the area of their bounds.
template <std::size_t pointBytes>
bool trace(const ByteReader& record, std::size_t at, std::uint64_t count, bool fills,
           MetafilePlayback& playback) {
    auto point = [&](std::uint64_t i) -> Point {
        std::size_t place = at + i * pointBytes;
        if (pointBytes == 4)
            return {record.get<std::int16_t>(place).value_or(0),
                    record.get<std::int16_t>(place + 2).value_or(0)};
        return pointAt(record, place);
    };
    return playback.drawOutline(count, fills, point);
}

// Points of `pointBytes` each (two 32-bit or two 16-bit values) after the
// bounds and the count; the 16-bit ones cannot leave the limit. The ones
// drawn on from the current position leave it where the checks do not
// follow.
template <std::size_t pointBytes, bool fills = false>
bool points(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t count = unsignedAt(record, 24);
    playback.forgetPosition();
    return record.has(28, count * pointBytes) &&
           (pointBytes == 4 || coordinates(record, 28, 2 * count)) &&
           playback.mappingWithinLimit() && trace<pointBytes>(record, 28, count, fills, playback);
}

// Figures: their number, the number of all their points, each one's count,
// then all their points; the counts add up to the points.
template <std::size_t pointBytes, bool fills = false>
bool figures(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t figures = unsignedAt(record, 24), total = unsignedAt(record, 28), sum = 0;
    if (!record.has(32, figures * 4))
        return false;
    for (std::uint64_t i = 0; i < figures; ++i)
        sum += unsignedAt(record, 32 + 4 * i);
    std::size_t first = 32 + 4 * figures;
    if (sum != total || !record.has(first, total * pointBytes) ||
        (pointBytes != 4 && !coordinates(record, first, 2 * total)) ||
        !playback.mappingWithinLimit())
        return false;
    for (std::uint64_t i = 0, at = first; i < figures; ++i) {
        std::uint64_t count = unsignedAt(record, 32 + 4 * i);
        if (!trace<pointBytes>(record, at, count, fills, playback))
            return false;
        at += count * pointBytes;
    }
    return true;
}

bool windowExtent(const ByteReader& record, MetafilePlayback& playback) {
    return coordinates(record, 8, 2) &&
           playback.setWindowExtent(signedAt(record, 8), signedAt(record, 12));
}

bool viewportExtent(const ByteReader& record, MetafilePlayback& playback) {
    return coordinates(record, 8, 2) &&
           playback.setViewportExtent(signedAt(record, 8), signedAt(record, 12));
}

bool saveState(const ByteReader&, MetafilePlayback& playback) {
    return playback.save() && playback.drawSavedState();
}

bool restoreState(const ByteReader& record, MetafilePlayback& playback) {
    return playback.restore(signedAt(record, 8));
}

// The objects the system keeps for every program, named with the high bit.
constexpr std::uint64_t stockObject = 0x80000000;
constexpr std::uint64_t lastStockObject = stockObject + 19;
constexpr std::uint64_t stockPalette = stockObject + 15;

// The system's pens, then its fonts, among its objects.
constexpr std::uint64_t firstStockPen = stockObject + 6, lastStockPen = stockObject + 8,
                        firstStockFont = stockObject + 10;

bool selectObject(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t index = unsignedAt(record, 8);
    if (index >= stockObject && index <= lastStockObject && index != stockPalette) {
        if (index >= firstStockPen && index <= lastStockPen)
            playback.selectStock(pen);
        else if (index >= firstStockFont)
            playback.selectStock(font);
        return true;
    }
    playback.select(index);
    return playback.names(index, pen | brush | font);
}

bool selectPalette(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t index = unsignedAt(record, 8);
    return index == stockPalette || playback.names(index, palette);
}

bool deleteObject(const ByteReader& record, MetafilePlayback& playback) {
    return playback.remove(unsignedAt(record, 8));
}

template <GdiObject kind> bool create(const ByteReader& record, MetafilePlayback& playback) {
    return playback.createAt(unsignedAt(record, 8), kind);
}

bool createPen(const ByteReader& record, MetafilePlayback& playback) {
    std::int64_t width = std::llabs(signedAt(record, 16));
    return width <= limits::penWidth && playback.createAt(unsignedAt(record, 8), pen, width);
}

bool createWidePen(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t width = unsignedAt(record, 32), dashes = unsignedAt(record, 48);
    return width <= std::uint64_t(limits::penWidth) && dashes <= limits::penDashes &&
           record.has(52, 4 * dashes) &&
           playback.createAt(unsignedAt(record, 8), pen, std::int64_t(width));
}

// A font is as costly as its larger side.
bool createFont(const ByteReader& record, MetafilePlayback& playback) {
    std::int64_t height = std::llabs(signedAt(record, 12)),
                 width = std::llabs(signedAt(record, 16));
    return height <= limits::fontSize && width <= limits::fontSize &&
           playback.createAt(unsignedAt(record, 8), font, std::max(height, width));
}

bool createPalette(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t colours = record.get<std::uint16_t>(14).value_or(0);
    return colours > 0 && colours <= limits::paletteColours && record.has(16, 4 * colours) &&
           create<palette>(record, playback);
}

bool comment(const ByteReader& record, MetafilePlayback&) {
    return record.has(12, unsignedAt(record, 8));
}

bool miterLimit(const ByteReader& record, MetafilePlayback&) {
    return finiteAt(record, 8);
}

// The transfers of pixels: the destination's corner and size from `at`, the
// size of the area they fill at `sizeAt`.
template <std::size_t at, std::uint64_t count, std::size_t sizeAt = at + 8>
bool transfer(const ByteReader& record, MetafilePlayback& playback) {
    return coordinates(record, at, count) && playback.mappingWithinLimit() &&
           playback.drawTransfer(signedAt(record, sizeAt), signedAt(record, sizeAt + 4));
}

bool stretchedPixels(const ByteReader& record, MetafilePlayback& playback) {
    return coordinates(record, 72, 2) && transfer<24, 6, 72>(record, playback);
}

// A parallelogram from three corners: the fourth adds nothing to its bounds'
// size beyond the two sides from the first.
bool parallelogram(const ByteReader& record, MetafilePlayback& playback) {
    Point first = pointAt(record, 24), second = pointAt(record, 32), third = pointAt(record, 40);
    return coordinates(record, 24, 6) && playback.mappingWithinLimit() &&
           playback.drawTransfer(std::llabs(second.x - first.x) + std::llabs(third.x - first.x),
                                 std::llabs(second.y - first.y) + std::llabs(third.y - first.y));
}

// Text: its reference point, clipping rectangle, characters and the spacing
// of each, all inside the record after the fixed fields.
constexpr std::size_t textFields = 76;
constexpr std::uint64_t verticalSpacing = 0x2000;
// The option that fills the rectangle behind the text.
constexpr std::uint64_t opaqueOption = 2;

template <std::uint64_t characterBytes>
bool text(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t characters = unsignedAt(record, 44), stringAt = unsignedAt(record, 48),
                  spacingAt = unsignedAt(record, 72);
    std::uint64_t spacing = (unsignedAt(record, 52) & verticalSpacing) ? 8 : 4;
    auto inside = [&](std::uint64_t at, std::uint64_t bytes) {
        return characters == 0 || (at >= textFields && record.has(at, bytes));
    };
    bool opaque = unsignedAt(record, 52) & opaqueOption;
    return characters <= limits::characters && coordinates(record, 36, 2) &&
           coordinates(record, 56, 4) && inside(stringAt, characters * characterBytes) &&
           inside(spacingAt, characters * spacing) && playback.mappingWithinLimit() &&
           playback.drawText(characters) &&
           (!opaque || playback.drawFill(4, signedAt(record, 64) - signedAt(record, 56),
                                         signedAt(record, 68) - signedAt(record, 60)));
}

bool beginPath(const ByteReader&, MetafilePlayback& playback) {
    playback.beginPath();
    return true;
}

bool abortPath(const ByteReader&, MetafilePlayback& playback) {
    playback.abortPath();
    return true;
}

bool strokePath(const ByteReader&, MetafilePlayback& playback) {
    return playback.strokePath();
}

bool widenPath(const ByteReader&, MetafilePlayback& playback) {
    return playback.strokePath(true);
}

bool fillPath(const ByteReader&, MetafilePlayback& playback) {
    return playback.fillPath();
}

bool strokeAndFillPath(const ByteReader&, MetafilePlayback& playback) {
    return playback.fillPath(true) && playback.strokePath();
}

struct Rule {
    std::uint32_t type;
    std::uint32_t leastSize; // type and size fields included
    Check check;             // none when the size is all there is to it
};

// What a skin can use: shapes, lines, text, bitmaps, pens, brushes, fonts,
// palettes, paths, clipping by rectangles, and mapping by extents. Regions,
// world transforms, flood fills and the colour management records are not.
constexpr Rule rules[] = {
    {2, 28, points<8>},
    {3, 28, points<8, true>},
    {4, 28, points<8>},
    {5, 28, points<8>},
    {6, 28, points<8>},
    {7, 32, figures<8>},
    {8, 32, figures<8, true>},
    {9, 16, windowExtent},
    {10, 16, place<2>},
    {11, 16, viewportExtent},
    {12, 16, place<2>},
    {13, 16, place<2>},
    {14, 20, nullptr},
    {15, 20, shape<2>},
    {16, 12, nullptr},
    {17, 12, nullptr},
    {18, 12, nullptr},
    {19, 12, nullptr},
    {20, 12, nullptr},
    {21, 12, nullptr},
    {22, 12, nullptr},
    {24, 12, nullptr},
    {25, 12, nullptr},
    {26, 16, place<2>},
    {27, 16, moveTo},
    {28, 8, nullptr},
    {29, 24, place<4>},
    {30, 24, place<4>},
    {33, 8, saveState},
    {34, 12, restoreState},
    {37, 12, selectObject},
    {38, 28, createPen},
    {39, 24, create<brush>},
    {40, 12, deleteObject},
    {41, 28, angleArc},
    {42, 24, figure<4>},
    {43, 24, figure<4, false>},
    {44, 32, figure<6>},
    {45, 40, figure<8>},
    {46, 40, figure<8>},
    {47, 40, figure<8>},
    {48, 12, selectPalette},
    {49, 16, createPalette},
    {52, 8, nullptr},
    {54, 16, lineTo},
    {55, 40, arcTo},
    {57, 12, nullptr},
    {58, 12, miterLimit},
    {59, 8, beginPath},
    {60, 8, nullptr},
    {61, 8, nullptr},
    {62, 24, fillPath},
    {63, 24, strokeAndFillPath},
    {64, 24, strokePath},
    {65, 8, nullptr},
    {66, 8, widenPath},
    {67, 12, fillPath},
    {68, 8, abortPath},
    {70, 12, comment},
    {76, 100, transfer<24, 4>},
    {77, 108, transfer<24, 4>},
    {78, 128, transfer<24, 4>},
    {79, 140, parallelogram},
    {80, 76, transfer<24, 6, 40>},
    {81, 80, stretchedPixels},
    {82, 104, createFont},
    {83, 76, text<1>},
    {84, 76, text<2>},
    {85, 28, points<4>},
    {86, 28, points<4, true>},
    {87, 28, points<4>},
    {88, 28, points<4>},
    {89, 28, points<4>},
    {90, 32, figures<4>},
    {91, 32, figures<4, true>},
    {93, 32, create<brush>},
    {94, 32, create<brush>},
    {95, 52, createWidePen},
    {98, 12, nullptr},
    {114, 108, transfer<24, 4>},
    {115, 12, nullptr},
    {116, 108, transfer<24, 4>},
};

} // namespace

bool playableEnhancedRecord(const ByteReader& record, std::uint32_t type,
                            MetafilePlayback& playback) {
    for (const Rule& rule : rules)
        if (rule.type == type)
            return record.size() >= rule.leastSize &&
                   (rule.check == nullptr || rule.check(record, playback));
    return false;
}

} // namespace tk
