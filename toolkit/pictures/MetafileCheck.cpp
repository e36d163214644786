#include "toolkit/pictures/MetafileCheck.h"

#include "toolkit/pictures/BitmapInfo.h"
#include "toolkit/pictures/EnhancedRecords.h"
#include "toolkit/pictures/OldStyleRecords.h"

#include <algorithm>
#include <cstdint>

namespace tk {
namespace {

// Far beyond any picture (about 80 m in hundredths of a millimetre), near
// enough to zero that no sum or product of two sizes overflows.
constexpr std::int32_t maxCoordinate = 1 << 23;

bool inRange(std::int32_t value) {
    return value > -maxCoordinate && value < maxCoordinate;
}

// A rectangle of four signed values; `allowEmpty` takes the form an empty
// picture's bounds have, one less than the start on both axes.
bool soundRectangle(const ByteReader& data, std::size_t at, bool allowEmpty) {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    if (!data.read(at, left) || !data.read(at + 4, top) || !data.read(at + 8, right) ||
        !data.read(at + 12, bottom))
        return false;
    if (!inRange(left) || !inRange(top) || !inRange(right) || !inRange(bottom))
        return false;
    std::int32_t least = allowEmpty ? -1 : 1;
    return right - left >= least && bottom - top >= least;
}

bool positiveSize(const ByteReader& data, std::size_t at) {
    std::int32_t cx = 0, cy = 0;
    return data.read(at, cx) && data.read(at + 4, cy) && cx > 0 && cy > 0 && cx < maxCoordinate &&
           cy < maxCoordinate;
}

// ------------------------------------------------- bitmaps inside records

// How a record's colour table is kept: colours of four bytes (three in an
// old core header), indexes into the current palette of two bytes, or none
// at all for a monochrome bitmap.
enum ColourUsage : std::uint32_t { rgbColours = 0, paletteIndexes = 1, monochrome = 2 };

// The bytes of a bitmap's header with its masks and colour table, where the
// pixels start when they follow at once; nothing when the header is none a
// bitmap file could have, or its pixels are compressed: the player would
// read compressed pixels by a byte count the header alone claims.
std::optional<std::uint64_t> bitmapInfoBytes(const BitmapHeader& header, std::uint32_t usage) {
    if (!plausibleBitmap(header) ||
        (header.compression != plainPixels && header.compression != bitFields))
        return std::nullopt;
    // A colour count the depth cannot use would move the pixels elsewhere
    // for the player than for this check.
    std::uint64_t colours = header.coloursUsed;
    if (header.bitCount <= 8) {
        std::uint64_t full = std::uint64_t{1} << header.bitCount;
        if (colours > full)
            return std::nullopt;
        colours = colours == 0 ? full : colours;
    } else if (colours > 256) {
        return std::nullopt;
    }
    std::uint64_t entry = 0;
    switch (usage) {
    case rgbColours:
        entry = header.size == coreHeaderSize ? 3 : 4;
        break;
    case paletteIndexes:
        entry = 2;
        break;
    case monochrome:
        if (header.bitCount != 1)
            return std::nullopt;
        colours = 0;
        break;
    default:
        return std::nullopt;
    }
    constexpr std::uint32_t withMasks = infoHeaderSize + 12;
    std::uint64_t headerBytes = header.compression == bitFields ? std::max(header.size, withMasks)
                                                                : std::uint64_t{header.size};
    return headerBytes + colours * entry;
}

// A bitmap whose header and colours take at most the bytes of `info`, and
// whose pixels (of `scans` rows at most) fit `bitsSize` bytes. The system
// makes a bitmap of the screen's depth from it, so its sides are held to the
// bound of a picture at 32 bits.
bool soundBitmap(const ByteReader& info, std::uint64_t bitsSize, std::uint32_t usage,
                 std::uint64_t scans = ~std::uint64_t{0}) {
    std::optional<BitmapHeader> header = readBitmapHeader(info);
    if (!header)
        return false;
    std::optional<std::uint64_t> infoBytes = bitmapInfoBytes(*header, usage);
    std::uint64_t rows = header->height < 0 ? -std::int64_t(header->height) : header->height;
    return infoBytes && *infoBytes <= info.size() &&
           rowBytes(header->width, header->bitCount) * std::min(rows, scans) <= bitsSize &&
           pictureFits(std::uint64_t(header->width), rows, 32);
}

// Brush styles whose bitmap is a handle or an address of the process that
// recorded them: meaningless in a file, and followed blindly by a player.
bool namesBitmapByReference(std::uint32_t brushStyle) {
    return brushStyle == 3 || (brushStyle >= 5 && brushStyle <= 8);
}

// Header fields of an enhanced metafile, by offset.
enum Emf : std::size_t {
    emfType = 0,
    emfSize = 4,
    emfBounds = 8,
    emfFrame = 24,
    emfSignature = 40,
    emfBytes = 48,
    emfRecords = 52,
    emfHandles = 56,
    emfDescriptionLength = 60,
    emfDescriptionOffset = 64,
    emfDevice = 72,
    emfMillimeters = 80,
    emfBaseHeader = 88,
    emfPixelFormatSize = 88,
    emfPixelFormatOffset = 92,
    emfPixelFormatHeader = 100,
};

constexpr std::uint32_t emfHeaderRecord = 1;
constexpr std::uint32_t emfEndRecord = 14;
constexpr std::uint32_t emfSignatureValue = 0x464D4520;

// A part of the header record, whose offset and length (in units of
// `unit` bytes) the fields at `offsetField` and `lengthField` give, lies
// inside it.
bool withinHeader(const ByteReader& data, std::size_t offsetField, std::size_t lengthField,
                  std::uint64_t unit, std::uint32_t headerSize) {
    std::uint32_t offset = 0, length = 0;
    if (!data.read(offsetField, offset) || !data.read(lengthField, length))
        return false;
    return length == 0 ||
           (offset >= emfBaseHeader && std::uint64_t{offset} + length * unit <= headerSize);
}

bool soundEnhancedHeader(const ByteReader& data) {
    std::uint32_t headerSize = 0, bytes = 0;
    std::uint16_t handles = 0;
    if (!data.read(emfSize, headerSize) || !data.read(emfBytes, bytes) ||
        !data.read(emfHandles, handles))
        return false;
    return data.get<std::uint32_t>(emfType) == emfHeaderRecord &&
           data.get<std::uint32_t>(emfSignature) == emfSignatureValue &&
           headerSize >= emfBaseHeader && headerSize % 4 == 0 && bytes >= headerSize &&
           bytes % 4 == 0 && bytes <= data.size() && soundRectangle(data, emfBounds, true) &&
           soundRectangle(data, emfFrame, false) && positiveSize(data, emfDevice) &&
           positiveSize(data, emfMillimeters) && handles > 0 &&
           withinHeader(data, emfDescriptionOffset, emfDescriptionLength, 2, headerSize) &&
           (headerSize < emfPixelFormatHeader ||
            withinHeader(data, emfPixelFormatOffset, emfPixelFormatSize, 1, headerSize));
}

// Where a record keeps a bitmap: the field of its colour usage, and the first
// of four fields: offset and size of the header, offset and size of the
// pixels.
struct CarriedBitmap {
    std::uint32_t usageField = 0;
    std::uint32_t fields = 0;
    bool optional = false; // a record without it is a plain fill
};

// Every record type that carries a bitmap, by the size of its fields before
// the bitmap. Only the transfer of pixels to the device has a row count.
struct BitmapRecord {
    std::uint32_t type;
    std::uint32_t fixedSize;
    CarriedBitmap source;
    CarriedBitmap mask; // none when its fields are 0
    std::uint32_t scansField;
};

constexpr BitmapRecord bitmapRecords[] = {
    {76, 100, {80, 84, true}, {}, 0},                 // bit block transfer
    {77, 108, {80, 84, true}, {}, 0},                 // stretched transfer
    {78, 128, {80, 84, false}, {108, 112, false}, 0}, // masked transfer
    {79, 140, {92, 96, false}, {120, 124, false}, 0}, // parallelogram transfer
    {80, 76, {64, 48, false}, {}, 72},                // pixels to the device
    {81, 80, {64, 48, false}, {}, 0},                 // stretched pixels
    {93, 32, {12, 16, false}, {}, 0},                 // monochrome brush
    {94, 32, {12, 16, false}, {}, 0},                 // pattern brush
    {114, 108, {80, 84, true}, {}, 0},                // alpha blend
    {116, 108, {80, 84, true}, {}, 0},                // transparent transfer
};

constexpr std::uint32_t emfAlphaBlend = 114;
constexpr std::uint32_t emfCreateBrush = 39;
constexpr std::uint32_t emfCreatePen = 95;
constexpr std::uint64_t allRows = ~std::uint64_t{0};

// The four fields where a record keeps a bitmap.
struct BitmapFields {
    std::uint32_t infoAt = 0;
    std::uint32_t infoSize = 0;
    std::uint32_t bitsAt = 0;
    std::uint32_t bitsSize = 0;
};

std::optional<BitmapFields> readBitmapFields(const ByteReader& record, std::size_t at) {
    BitmapFields fields;
    if (!record.read(at, fields.infoAt) || !record.read(at + 4, fields.infoSize) ||
        !record.read(at + 8, fields.bitsAt) || !record.read(at + 12, fields.bitsSize))
        return std::nullopt;
    return fields;
}

// A bitmap whose header and pixels lie inside the record after its fixed
// fields; a record may leave out an optional one (offset 0).
bool soundCarriedBitmap(const ByteReader& record, std::uint32_t fixedSize, std::uint32_t fields,
                        bool optional, std::uint32_t usage, std::uint64_t scans) {
    std::optional<BitmapFields> place = readBitmapFields(record, fields);
    if (!place)
        return false;
    if (place->infoAt == 0 && optional)
        return true;
    std::optional<ByteReader> info = record.part(place->infoAt, place->infoSize);
    return place->infoAt >= fixedSize && place->bitsAt >= fixedSize && info &&
           record.has(place->bitsAt, place->bitsSize) &&
           soundBitmap(*info, place->bitsSize, usage, scans);
}

// The alpha blend copies all the record's pixels into a bitmap of the
// header's size.
bool alphaBlendPixelsFit(const ByteReader& record, const CarriedBitmap& bitmap) {
    std::optional<BitmapFields> place = readBitmapFields(record, bitmap.fields);
    if (!place)
        return false;
    if (place->infoAt == 0)
        return true;
    std::optional<ByteReader> info = record.part(place->infoAt, place->infoSize);
    std::optional<BitmapHeader> header = info ? readBitmapHeader(*info) : std::nullopt;
    return header && place->bitsSize <= pixelBytes(*header);
}

bool soundCarriedBitmap(const ByteReader& record, const BitmapRecord& kind,
                        const CarriedBitmap& bitmap) {
    std::uint32_t usage = 0, scans = 0;
    if (!record.read(bitmap.usageField, usage) ||
        (kind.scansField != 0 && !record.read(kind.scansField, scans)))
        return false;
    return soundCarriedBitmap(record, kind.fixedSize, bitmap.fields, bitmap.optional, usage,
                              kind.scansField == 0 ? allRows : scans) &&
           (kind.type != emfAlphaBlend || alphaBlendPixelsFit(record, bitmap));
}

// The brush style in the field at `at` keeps its bitmap in the record, if any.
bool brushStyleByValue(const ByteReader& record, std::size_t at) {
    std::optional<std::uint32_t> style = record.get<std::uint32_t>(at);
    return style && !namesBitmapByReference(*style);
}

// Every bitmap a record carries passes the rules of a bitmap file, and no
// brush or pen names one by reference.
bool soundEnhancedRecordBitmaps(const ByteReader& record, std::uint32_t type) {
    if (type == emfCreateBrush)
        return record.size() >= 24 && brushStyleByValue(record, 12);
    if (type == emfCreatePen)
        return record.size() >= 52 && brushStyleByValue(record, 36) &&
               soundCarriedBitmap(record, 52, 12, true, rgbColours, allRows);
    for (const BitmapRecord& kind : bitmapRecords)
        if (kind.type == type)
            return record.size() >= kind.fixedSize &&
                   soundCarriedBitmap(record, kind, kind.source) &&
                   (kind.mask.fields == 0 || soundCarriedBitmap(record, kind, kind.mask));
    return true;
}

// Every record fits, may be played after those before it, the count is the
// header's, and the end record closes it.
bool soundEnhancedRecords(const ByteReader& metafile) {
    std::uint32_t at = 0, count = 0, type = 0, length = 0;
    std::uint16_t handles = 0;
    if (!metafile.read(emfSize, at) || !metafile.read(emfRecords, count) ||
        !metafile.read(emfHandles, handles))
        return false;
    // The handle table's first slot is the metafile's own.
    MetafilePlayback playback(handles, 1);
    std::uint32_t records = 1;
    while (metafile.read(at, type) && metafile.read(at + 4, length)) {
        std::optional<ByteReader> record = metafile.part(at, length);
        if (length < 8 || length % 4 != 0 || !record || !playback.drawRecord(length) ||
            !playableEnhancedRecord(*record, type, playback) ||
            !soundEnhancedRecordBitmaps(*record, type))
            return false;
        at += length;
        ++records;
        if (type == emfEndRecord)
            return at == metafile.size() && records == count;
    }
    return false;
}

// Header fields of an old-style metafile, by offset; sizes count 16-bit words.
enum Wmf : std::size_t {
    wmfType = 0,
    wmfHeaderWords = 2,
    wmfVersion = 4,
    wmfWords = 6,
    wmfObjects = 10,
    wmfLargestRecord = 12,
    wmfHeader = 18,
};

constexpr std::uint16_t wmfEndFunction = 0;

// The record's parameter words start after its size and function.
constexpr std::uint64_t wmfParameters = 6;

// A bitmap from parameter word `word` to the record's end: its header, its
// colours, and its pixels right after them, as the player finds them.
bool soundTrailingBitmap(const ByteReader& record, std::uint64_t word, std::uint32_t usage,
                         std::uint64_t scans = allRows) {
    std::optional<ByteReader> bitmap = record.from(wmfParameters + 2 * word);
    if (!bitmap || usage > paletteIndexes)
        return false;
    std::optional<BitmapHeader> header = readBitmapHeader(*bitmap);
    std::optional<std::uint64_t> infoBytes =
        header ? bitmapInfoBytes(*header, usage) : std::nullopt;
    std::optional<ByteReader> info = infoBytes ? bitmap->part(0, *infoBytes) : std::nullopt;
    std::optional<ByteReader> pixels = infoBytes ? bitmap->from(*infoBytes) : std::nullopt;
    return info && pixels && soundBitmap(*info, pixels->size(), usage, scans);
}

// Every bitmap a record carries passes the rules of a bitmap file, and no
// brush names its bitmap by reference.
bool soundOldStyleRecordBitmaps(const ByteReader& record, std::uint16_t function) {
    auto parameter = [&](std::uint64_t word) -> std::uint32_t {
        return record.get<std::uint16_t>(wmfParameters + 2 * word).value_or(0xFFFF);
    };
    switch (function) {
    case 0x02FC: // brush
        return !namesBitmapByReference(parameter(0));
    case 0x0F43: // stretched pixels
        return soundTrailingBitmap(record, 11, parameter(2));
    case 0x0B41: // stretched transfer
        return soundTrailingBitmap(record, 10, rgbColours);
    case 0x0940: // bit block transfer; a short one has no bitmap and fills
        return record.size() <= 24 || soundTrailingBitmap(record, 8, rgbColours);
    case 0x0D33: // pixels to the device
        return soundTrailingBitmap(record, 9, parameter(0), parameter(1));
    case 0x0142: // pattern brush
        return soundTrailingBitmap(record, 2, parameter(1));
    default:
        return true;
    }
}

// Every record fits, is no larger than the header's largest and may be played
// after those before it, and the end record closes the metafile; its byte
// count, or 0.
std::size_t soundOldStyleRecords(const ByteReader& metafile, std::uint32_t largest,
                                 MetafilePlayback& playback) {
    std::uint32_t words = 0;
    std::uint16_t function = 0;
    for (std::uint64_t at = wmfHeader;
         metafile.read(at, words) && metafile.read(at + 4, function);) {
        std::optional<ByteReader> record = metafile.part(at, std::uint64_t{words} * 2);
        if (words < 3 || words > largest || !record)
            return 0;
        if (function == wmfEndFunction)
            return at + record->size() == metafile.size() ? metafile.size() : 0;
        if (!playback.drawRecord(record->size()) ||
            !playableOldStyleRecord(*record, function, playback) ||
            !soundOldStyleRecordBitmaps(*record, function))
            return 0;
        at += record->size();
    }
    return 0;
}

} // namespace

std::size_t enhancedMetafileBytes(const ByteReader& data) {
    std::uint32_t bytes = 0;
    if (!data.has(0, emfBaseHeader) || !soundEnhancedHeader(data) || !data.read(emfBytes, bytes))
        return 0;
    std::optional<ByteReader> metafile = data.part(0, bytes);
    return metafile && soundEnhancedRecords(*metafile) ? bytes : 0;
}

namespace {

// The mapping a placeable header makes the player start from: its frame's
// units onto pixels. Nothing when that alone enlarges past the limit.
bool startPlayback(MetafilePlayback& playback, const std::optional<PlaceableFrame>& frame) {
    if (!frame)
        return true;
    auto pixels = [&](std::int64_t units) {
        return std::max<std::int64_t>(1, units * 96 / frame->unitsPerInch);
    };
    return frame->unitsPerInch > 0 && playback.setWindowExtent(frame->width, frame->height) &&
           playback.setViewportExtent(pixels(frame->width), pixels(frame->height)) &&
           playback.mappingWithinLimit();
}

} // namespace

std::size_t windowsMetafileBytes(const ByteReader& data, std::optional<PlaceableFrame> frame) {
    std::uint16_t type = 0, headerWords = 0, version = 0, objects = 0;
    std::uint32_t words = 0, largest = 0;
    if (!data.has(0, wmfHeader) || !data.read(wmfType, type) ||
        !data.read(wmfHeaderWords, headerWords) || !data.read(wmfVersion, version) ||
        !data.read(wmfWords, words) || !data.read(wmfObjects, objects) ||
        !data.read(wmfLargestRecord, largest))
        return 0;
    std::uint64_t bytes = std::uint64_t{words} * 2;
    std::optional<ByteReader> metafile = data.part(0, bytes);
    if ((type != 1 && type != 2) || headerWords != wmfHeader / 2 ||
        (version != 0x100 && version != 0x300) || !metafile || bytes < wmfHeader ||
        largest > bytes / 2)
        return 0;
    MetafilePlayback playback(objects, 0);
    if (!startPlayback(playback, frame))
        return 0;
    return soundOldStyleRecords(*metafile, largest, playback);
}

} // namespace tk
