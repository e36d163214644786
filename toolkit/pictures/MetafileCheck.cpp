#include "toolkit/pictures/MetafileCheck.h"

#include "toolkit/pictures/BitmapInfo.h"

#include <algorithm>
#include <cstdint>

namespace tk {
namespace {

// Metafiles are little-endian whatever the machine.
std::uint32_t u32(const unsigned char* at) {
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 |
           std::uint32_t(at[3]) << 24;
}
std::int32_t s32(const unsigned char* at) {
    return static_cast<std::int32_t>(u32(at));
}
std::uint16_t u16(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

// Far beyond any picture (about 80 m in hundredths of a millimetre), near
// enough to zero that no sum or product of two sizes overflows.
constexpr std::int32_t maxCoordinate = 1 << 23;

bool inRange(std::int32_t value) {
    return value > -maxCoordinate && value < maxCoordinate;
}

// A rectangle of four signed values; `allowEmpty` takes the form an empty
// picture's bounds have, one less than the start on both axes.
bool soundRectangle(const unsigned char* at, bool allowEmpty) {
    std::int32_t left = s32(at), top = s32(at + 4), right = s32(at + 8), bottom = s32(at + 12);
    if (!inRange(left) || !inRange(top) || !inRange(right) || !inRange(bottom))
        return false;
    std::int32_t least = allowEmpty ? -1 : 1;
    return right - left >= least && bottom - top >= least;
}

bool positiveSize(const unsigned char* at) {
    std::int32_t cx = s32(at), cy = s32(at + 4);
    return cx > 0 && cy > 0 && cx < maxCoordinate && cy < maxCoordinate;
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

// A bitmap whose header and colours take at most `infoSize` bytes from
// `info`, and whose pixels (of `scans` rows at most) fit `bitsSize` bytes.
// The system makes a bitmap of the screen's depth from it, so its sides are
// held to the bound of a picture at 32 bits.
bool soundBitmap(const unsigned char* info, std::uint64_t infoSize, std::uint64_t bitsSize,
                 std::uint32_t usage, std::uint64_t scans = ~std::uint64_t{0}) {
    std::optional<BitmapHeader> header = readBitmapHeader(info, infoSize);
    if (!header)
        return false;
    std::optional<std::uint64_t> infoBytes = bitmapInfoBytes(*header, usage);
    std::uint64_t rows = header->height < 0 ? -std::int64_t(header->height) : header->height;
    return infoBytes && *infoBytes <= infoSize &&
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

// A part of the header record, given by offset and length, lies inside it.
bool withinHeader(std::uint64_t offset, std::uint64_t length, std::uint32_t headerSize) {
    return length == 0 || (offset >= emfBaseHeader && offset + length <= headerSize);
}

bool soundEnhancedHeader(const unsigned char* data, std::size_t size) {
    std::uint32_t headerSize = u32(data + emfSize), bytes = u32(data + emfBytes);
    return u32(data + emfType) == emfHeaderRecord &&
           u32(data + emfSignature) == emfSignatureValue && headerSize >= emfBaseHeader &&
           headerSize % 4 == 0 && bytes >= headerSize && bytes % 4 == 0 && bytes <= size &&
           soundRectangle(data + emfBounds, true) && soundRectangle(data + emfFrame, false) &&
           positiveSize(data + emfDevice) && positiveSize(data + emfMillimeters) &&
           u16(data + emfHandles) > 0 &&
           withinHeader(u32(data + emfDescriptionOffset),
                        std::uint64_t(u32(data + emfDescriptionLength)) * 2, headerSize) &&
           (headerSize < emfPixelFormatHeader ||
            withinHeader(u32(data + emfPixelFormatOffset), u32(data + emfPixelFormatSize),
                         headerSize));
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

// A bitmap whose header and pixels lie inside the record after its fixed
// fields; a record may leave out an optional one (offset 0).
bool soundCarriedBitmap(const unsigned char* record, std::uint32_t length, std::uint32_t fixedSize,
                        std::uint32_t fields, bool optional, std::uint32_t usage,
                        std::uint64_t scans) {
    std::uint32_t infoAt = u32(record + fields), infoSize = u32(record + fields + 4);
    std::uint32_t bitsAt = u32(record + fields + 8), bitsSize = u32(record + fields + 12);
    if (infoAt == 0 && optional)
        return true;
    auto inside = [&](std::uint64_t at, std::uint64_t size) {
        return at >= fixedSize && at <= length && size <= length - at;
    };
    return inside(infoAt, infoSize) && inside(bitsAt, bitsSize) &&
           soundBitmap(record + infoAt, infoSize, bitsSize, usage, scans);
}

bool soundCarriedBitmap(const unsigned char* record, std::uint32_t length, const BitmapRecord& kind,
                        const CarriedBitmap& bitmap) {
    std::uint64_t scans = kind.scansField == 0 ? allRows : u32(record + kind.scansField);
    if (!soundCarriedBitmap(record, length, kind.fixedSize, bitmap.fields, bitmap.optional,
                            u32(record + bitmap.usageField), scans))
        return false;
    // The alpha blend copies all the record's pixels into a bitmap of the
    // header's size.
    std::uint32_t infoAt = u32(record + bitmap.fields);
    return kind.type != emfAlphaBlend || infoAt == 0 ||
           u32(record + bitmap.fields + 12) <=
               pixelBytes(*readBitmapHeader(record + infoAt, u32(record + bitmap.fields + 4)));
}

// Every bitmap a record carries passes the rules of a bitmap file, and no
// brush or pen names one by reference.
bool soundEnhancedRecordBitmaps(const unsigned char* record, std::uint32_t type,
                                std::uint32_t length) {
    if (type == emfCreateBrush)
        return length >= 24 && !namesBitmapByReference(u32(record + 12));
    if (type == emfCreatePen)
        return length >= 52 && !namesBitmapByReference(u32(record + 36)) &&
               soundCarriedBitmap(record, length, 52, 12, true, rgbColours, allRows);
    for (const BitmapRecord& kind : bitmapRecords)
        if (kind.type == type)
            return length >= kind.fixedSize &&
                   soundCarriedBitmap(record, length, kind, kind.source) &&
                   (kind.mask.fields == 0 || soundCarriedBitmap(record, length, kind, kind.mask));
    return true;
}

// Every record fits, the count is the header's, and the end record closes it.
bool soundEnhancedRecords(const unsigned char* data, std::uint32_t bytes) {
    std::uint32_t at = u32(data + emfSize);
    std::uint32_t records = 1;
    while (at + 8 <= bytes) {
        std::uint32_t type = u32(data + at), length = u32(data + at + 4);
        if (length < 8 || length % 4 != 0 || length > bytes - at || type == emfHeaderRecord ||
            !soundEnhancedRecordBitmaps(data + at, type, length))
            return false;
        at += length;
        ++records;
        if (type == emfEndRecord)
            return at == bytes && records == u32(data + emfRecords);
    }
    return false;
}

// Header fields of an old-style metafile, by offset; sizes count 16-bit words.
enum Wmf : std::size_t {
    wmfType = 0,
    wmfHeaderWords = 2,
    wmfVersion = 4,
    wmfWords = 6,
    wmfLargestRecord = 12,
    wmfHeader = 18,
};

constexpr std::uint16_t wmfEndFunction = 0;

// The record's parameter words start after its size and function.
constexpr std::uint64_t wmfParameters = 6;

// A bitmap from parameter word `word` to the record's end: its header, its
// colours, and its pixels right after them, as the player finds them.
bool soundTrailingBitmap(const unsigned char* record, std::uint64_t length, std::uint64_t word,
                         std::uint32_t usage, std::uint64_t scans = allRows) {
    std::uint64_t at = wmfParameters + 2 * word;
    if (at > length || usage > paletteIndexes)
        return false;
    std::optional<BitmapHeader> header = readBitmapHeader(record + at, length - at);
    std::optional<std::uint64_t> infoBytes =
        header ? bitmapInfoBytes(*header, usage) : std::nullopt;
    return infoBytes && *infoBytes <= length - at &&
           soundBitmap(record + at, *infoBytes, length - at - *infoBytes, usage, scans);
}

// Every bitmap a record carries passes the rules of a bitmap file. The
// device-dependent bitmaps of Windows 2 (which no recorder since writes, and
// whose layout players read differently) are refused, and so is a brush that
// names its bitmap by reference.
bool soundOldStyleRecordBitmaps(const unsigned char* record, std::uint64_t length) {
    auto parameter = [&](std::uint64_t word) -> std::uint32_t {
        std::uint64_t at = wmfParameters + 2 * word;
        return at + 2 <= length ? u16(record + at) : 0xFFFF;
    };
    switch (u16(record + 4)) {
    case 0x0922: // bit block transfer of a device-dependent bitmap
    case 0x0B23: // stretched transfer of one
    case 0x01F9: // pattern brush of one
        return false;
    case 0x02FC: // brush
        return !namesBitmapByReference(parameter(0));
    case 0x0F43: // stretched pixels
        return soundTrailingBitmap(record, length, 11, parameter(2));
    case 0x0B41: // stretched transfer
        return soundTrailingBitmap(record, length, 10, rgbColours);
    case 0x0940: // bit block transfer; a short one has no bitmap and fills
        return length <= 24 || soundTrailingBitmap(record, length, 8, rgbColours);
    case 0x0D33: // pixels to the device
        return soundTrailingBitmap(record, length, 9, parameter(0), parameter(1));
    case 0x0142: // pattern brush
        return soundTrailingBitmap(record, length, 2, parameter(1));
    default:
        return true;
    }
}

} // namespace

std::size_t enhancedMetafileBytes(const unsigned char* data, std::size_t size) {
    if (size < emfBaseHeader || !soundEnhancedHeader(data, size))
        return 0;
    std::uint32_t bytes = u32(data + emfBytes);
    return soundEnhancedRecords(data, bytes) ? bytes : 0;
}

std::size_t windowsMetafileBytes(const unsigned char* data, std::size_t size) {
    if (size < wmfHeader)
        return 0;
    std::uint16_t type = u16(data + wmfType), version = u16(data + wmfVersion);
    std::uint64_t bytes = std::uint64_t(u32(data + wmfWords)) * 2;
    std::uint32_t largest = u32(data + wmfLargestRecord);
    if ((type != 1 && type != 2) || u16(data + wmfHeaderWords) != wmfHeader / 2 ||
        (version != 0x100 && version != 0x300) || bytes > size || bytes < wmfHeader ||
        largest > bytes / 2)
        return 0;
    for (std::uint64_t at = wmfHeader; at + 6 <= bytes;) {
        std::uint64_t words = u32(data + at);
        if (words < 3 || words > largest || words * 2 > bytes - at)
            return 0;
        if (u16(data + at + 4) == wmfEndFunction)
            return at + words * 2 == bytes ? static_cast<std::size_t>(bytes) : 0;
        if (!soundOldStyleRecordBitmaps(data + at, words * 2))
            return 0;
        at += words * 2;
    }
    return 0;
}

} // namespace tk
