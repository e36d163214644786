#include "toolkit/pictures/MetafileCheck.h"

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

// Every record fits, the count is the header's, and the end record closes it.
bool soundEnhancedRecords(const unsigned char* data, std::uint32_t bytes) {
    std::uint32_t at = u32(data + emfSize);
    std::uint32_t records = 1;
    while (at + 8 <= bytes) {
        std::uint32_t type = u32(data + at), length = u32(data + at + 4);
        if (length < 8 || length % 4 != 0 || length > bytes - at || type == emfHeaderRecord)
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
        at += words * 2;
    }
    return 0;
}

} // namespace tk
