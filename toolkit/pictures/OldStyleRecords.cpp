#include "toolkit/pictures/OldStyleRecords.h"

#include <algorithm>
#include <cstdlib>

namespace tk {
namespace {

namespace limits = metafileLimits;

using Check = bool (*)(const ByteReader& record, MetafilePlayback& playback);

// Parameters are 16-bit words after the record's size and function, so no
// coordinate can leave the limit.
constexpr std::size_t firstParameter = 6;

std::uint64_t wordAt(const ByteReader& record, std::uint64_t word) {
    return record.get<std::uint16_t>(firstParameter + 2 * word).value_or(0);
}

std::int64_t signedWordAt(const ByteReader& record, std::uint64_t word) {
    return record.get<std::int16_t>(firstParameter + 2 * word).value_or(0);
}

bool hasWords(const ByteReader& record, std::uint64_t words) {
    return record.has(firstParameter, 2 * words);
}

bool draws(const ByteReader&, MetafilePlayback& playback) {
    return playback.mappingWithinLimit();
}

// A shape whose bounding rectangle is kept as bottom, right, top, left from
// parameter word `first`: a rectangle, or a curve inside it.
template <std::uint64_t first, bool curved = true>
bool figure(const ByteReader& record, MetafilePlayback& playback) {
    return draws(record, playback) &&
           playback.drawFigure(signedWordAt(record, first + 1) - signedWordAt(record, first + 3),
                               signedWordAt(record, first) - signedWordAt(record, first + 2),
                               curved);
}

// A transfer of pixels, or a plain fill, over the area whose height and
// width are kept in parameter words `height` and the one after it.
template <std::uint64_t height, bool transfers = true>
bool fills(const ByteReader& record, MetafilePlayback& playback) {
    std::int64_t width = signedWordAt(record, height + 1), tall = signedWordAt(record, height);
    return draws(record, playback) &&
           (transfers ? playback.drawTransfer(width, tall) : playback.drawFill(4, width, tall));
}

// A bit block transfer without its bitmap (a short record) fills, and keeps
// one word more before its sizes.
bool blockTransfer(const ByteReader& record, MetafilePlayback& playback) {
    constexpr std::size_t shortRecord = 24;
    return record.size() <= shortRecord ? fills<5, false>(record, playback)
                                        : fills<4>(record, playback);
}

// Points are kept as y, then x.
Point pointAt(const ByteReader& record, std::uint64_t word) {
    return {signedWordAt(record, word + 1), signedWordAt(record, word)};
}

bool moveTo(const ByteReader& record, MetafilePlayback& playback) {
    playback.moveTo(pointAt(record, 0));
    return true;
}

bool lineTo(const ByteReader& record, MetafilePlayback& playback) {
    return draws(record, playback) && playback.lineTo(pointAt(record, 0));
}

// The lines of `count` connected points of two words from word `first`, and
// what filling them costs.
bool trace(const ByteReader& record, std::uint64_t first, std::uint64_t count, bool fills,
           MetafilePlayback& playback) {
    return playback.drawOutline(count, fills, [&](std::uint64_t i) -> Point {
        return {signedWordAt(record, first + 2 * i), signedWordAt(record, first + 2 * i + 1)};
    });
}

// Extents are kept as y, then x.
bool windowExtent(const ByteReader& record, MetafilePlayback& playback) {
    return playback.setWindowExtent(signedWordAt(record, 1), signedWordAt(record, 0));
}

bool viewportExtent(const ByteReader& record, MetafilePlayback& playback) {
    return playback.setViewportExtent(signedWordAt(record, 1), signedWordAt(record, 0));
}

bool saveState(const ByteReader&, MetafilePlayback& playback) {
    return playback.save() && playback.drawSavedState();
}

bool restoreState(const ByteReader& record, MetafilePlayback& playback) {
    return playback.restore(signedWordAt(record, 0));
}

// A count, then that many points of two words.
template <bool fills> bool points(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t count = wordAt(record, 0);
    return hasWords(record, 1 + 2 * count) && draws(record, playback) &&
           trace(record, 1, count, fills, playback);
}

// The number of polygons, each one's count, then all their points.
bool polygons(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t polygons = wordAt(record, 0), total = 0;
    if (!hasWords(record, 1 + polygons))
        return false;
    for (std::uint64_t i = 0; i < polygons; ++i)
        total += wordAt(record, 1 + i);
    if (!hasWords(record, 1 + polygons + 2 * total) || !draws(record, playback))
        return false;
    for (std::uint64_t i = 0, at = 1 + polygons; i < polygons; ++i) {
        std::uint64_t count = wordAt(record, 1 + i);
        if (!trace(record, at, count, true, playback))
            return false;
        at += 2 * count;
    }
    return true;
}

std::uint64_t stringWords(std::uint64_t characters) {
    return (characters + 1) / 2;
}

// A count, the characters, then the place.
bool text(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t characters = wordAt(record, 0);
    return characters <= limits::characters && hasWords(record, 1 + stringWords(characters) + 2) &&
           draws(record, playback) && playback.drawText(characters);
}

// The place, the count and options, a rectangle when the options clip or
// fill, then the characters; their spacing, when there, is never read past
// the record.
constexpr std::uint64_t opaque = 2, clipped = 4;

bool extendedText(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t characters = wordAt(record, 2);
    std::uint64_t rectangle = (wordAt(record, 3) & (opaque | clipped)) ? 4 : 0;
    return characters <= limits::characters &&
           hasWords(record, 4 + rectangle + stringWords(characters)) && draws(record, playback) &&
           playback.drawText(characters) &&
           (!(wordAt(record, 3) & opaque) ||
            playback.drawFill(4, signedWordAt(record, 6) - signedWordAt(record, 4),
                              signedWordAt(record, 7) - signedWordAt(record, 5)));
}

bool selectObject(const ByteReader& record, MetafilePlayback& playback) {
    playback.select(wordAt(record, 0));
    return playback.names(wordAt(record, 0), pen | brush | font);
}

bool selectPalette(const ByteReader& record, MetafilePlayback& playback) {
    return playback.names(wordAt(record, 0), palette);
}

bool deleteObject(const ByteReader& record, MetafilePlayback& playback) {
    return playback.remove(wordAt(record, 0));
}

template <GdiObject kind> bool create(const ByteReader&, MetafilePlayback& playback) {
    return playback.createInFreeSlot(kind);
}

bool createPen(const ByteReader& record, MetafilePlayback& playback) {
    std::int64_t width = std::llabs(signedWordAt(record, 1));
    return width <= limits::penWidth && playback.createInFreeSlot(pen, width);
}

// The face name after the font's nine words is read up to its end: 32 bytes
// or a zero.
constexpr std::uint64_t fontWords = 9, faceBytes = 32;

bool faceNameEnds(const ByteReader& record) {
    std::optional<ByteReader> face = record.from(firstParameter + 2 * fontWords);
    if (!face)
        return false;
    if (face->size() >= faceBytes)
        return true;
    for (std::uint8_t byte : face->bytes())
        if (byte == 0)
            return true;
    return false;
}

// A font is as costly as its larger side.
bool createFont(const ByteReader& record, MetafilePlayback& playback) {
    std::int64_t height = std::llabs(signedWordAt(record, 0)),
                 width = std::llabs(signedWordAt(record, 1));
    return height <= limits::fontSize && width <= limits::fontSize && faceNameEnds(record) &&
           playback.createInFreeSlot(font, std::max(height, width));
}

// A version, a count, then that many colours of two words.
bool createPalette(const ByteReader& record, MetafilePlayback& playback) {
    std::uint64_t colours = wordAt(record, 1);
    return colours > 0 && colours <= limits::paletteColours && hasWords(record, 2 + 2 * colours) &&
           create<palette>(record, playback);
}

struct Rule {
    std::uint16_t function;
    std::uint16_t leastWords; // of parameters
    Check check;              // none when the size is all there is to it
};

// What a skin can use: shapes, lines, text, bitmaps, pens, brushes, fonts,
// palettes, clipping by rectangles, and mapping by extents. Regions, scaled
// extents, flood fills, escapes and the bitmaps of Windows 2 are not.
constexpr Rule rules[] = {
    {0x001E, 0, saveState},       {0x0127, 1, restoreState},     {0x0201, 2, nullptr},
    {0x0102, 1, nullptr},         {0x0103, 1, nullptr},          {0x0104, 1, nullptr},
    {0x0106, 1, nullptr},         {0x0107, 1, nullptr},          {0x0108, 1, nullptr},
    {0x0209, 2, nullptr},         {0x020A, 2, nullptr},          {0x012E, 1, nullptr},
    {0x0231, 2, nullptr},         {0x020B, 2, nullptr},          {0x020C, 2, windowExtent},
    {0x020D, 2, nullptr},         {0x020E, 2, viewportExtent},   {0x020F, 2, nullptr},
    {0x0211, 2, nullptr},         {0x0415, 4, nullptr},          {0x0416, 4, nullptr},
    {0x0220, 2, nullptr},         {0x0214, 2, moveTo},           {0x041F, 4, draws},
    {0x0213, 2, lineTo},          {0x0817, 8, figure<4>},        {0x0418, 4, figure<0>},
    {0x081A, 8, figure<4>},       {0x041B, 4, figure<0, false>}, {0x061C, 6, figure<2>},
    {0x061D, 6, fills<2, false>}, {0x0830, 8, figure<4>},        {0x0324, 1, points<true>},
    {0x0325, 1, points<false>},   {0x0538, 1, polygons},         {0x0521, 1, text},
    {0x0A32, 4, extendedText},    {0x0940, 8, blockTransfer},    {0x0B41, 10, fills<6>},
    {0x0F43, 11, fills<7>},       {0x0D33, 9, fills<5>},         {0x02FA, 5, createPen},
    {0x02FC, 4, create<brush>},   {0x0142, 2, create<brush>},    {0x02FB, fontWords, createFont},
    {0x00F7, 2, createPalette},   {0x01F0, 1, deleteObject},     {0x012D, 1, selectObject},
    {0x0234, 1, selectPalette},   {0x0035, 0, nullptr},
};

} // namespace

bool playableOldStyleRecord(const ByteReader& record, std::uint16_t function,
                            MetafilePlayback& playback) {
    for (const Rule& rule : rules)
        if (rule.function == function)
            return hasWords(record, rule.leastWords) &&
                   (rule.check == nullptr || rule.check(record, playback));
    return false;
}

} // namespace tk
