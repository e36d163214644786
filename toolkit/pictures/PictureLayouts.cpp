#include "toolkit/pictures/PictureLayouts.h"

#include "toolkit/pictures/MetafileCheck.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tk {

namespace {

using Bytes = PictureBytes;

// ------------------------------------------------------- little-endian fields

bool has(const Bytes& bytes, std::size_t offset, std::size_t size) {
    return offset <= bytes.size() && bytes.size() - offset >= size;
}

std::uint16_t le16(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t le32(const unsigned char* at) {
    return le16(at) | static_cast<std::uint32_t>(le16(at + 2)) << 16;
}

bool read16(const Bytes& bytes, std::size_t offset, std::uint16_t& value) {
    if (!has(bytes, offset, 2))
        return false;
    value = le16(bytes.data() + offset);
    return true;
}

bool read32(const Bytes& bytes, std::size_t offset, std::uint32_t& value) {
    if (!has(bytes, offset, 4))
        return false;
    value = le32(bytes.data() + offset);
    return true;
}

void put16(Bytes& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<unsigned char>(value));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
}

void put32(Bytes& bytes, std::uint32_t value) {
    put16(bytes, static_cast<std::uint16_t>(value));
    put16(bytes, static_cast<std::uint16_t>(value >> 16));
}

// ------------------------------------------------------------------ bitmaps

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t masksSize = 12;

// Appends the colour masks or the colour table (as 4-byte entries) to
// colours; returns the offset just past them in the file, or 0 when the file
// ends before.
std::size_t readColours(const Bytes& bytes, std::uint32_t headerSize, BitmapHeader& header,
                        Bytes& colours) {
    const std::size_t at = fileHeaderSize + headerSize;
    if (header.compression == bitFields) {
        // Newer headers hold the masks themselves, right after the classic part.
        std::size_t masksAt =
            headerSize >= infoHeaderSize + masksSize ? fileHeaderSize + infoHeaderSize : at;
        if (!has(bytes, masksAt, masksSize))
            return 0;
        colours.insert(colours.end(), bytes.begin() + masksAt, bytes.begin() + masksAt + masksSize);
        return masksAt == at ? at + masksSize : at;
    }
    if (header.bitCount > 8) {
        header.coloursUsed = 0;
        return at;
    }
    const std::uint32_t full = 1u << header.bitCount;
    const std::uint32_t count = header.coloursUsed == 0 ? full : std::min(header.coloursUsed, full);
    header.coloursUsed = count;
    const std::size_t entry = headerSize == coreHeaderSize ? 3 : 4;
    if (!has(bytes, at, count * entry))
        return 0;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* colour = bytes.data() + at + i * entry;
        colours.insert(colours.end(), colour, colour + 3);
        colours.push_back(entry == 4 ? colour[3] : 0);
    }
    return at + count * entry;
}

bool runLengthEncoded(std::uint32_t compression) {
    return compression == runs8 || compression == runs4;
}

Bytes infoHeaderBytes(const BitmapHeader& h, std::uint32_t compression) {
    Bytes info;
    put32(info, infoHeaderSize);
    put32(info, static_cast<std::uint32_t>(h.width));
    put32(info, static_cast<std::uint32_t>(h.height));
    put16(info, h.planes);
    put16(info, h.bitCount);
    put32(info, compression);
    put32(info, 0); // image size, needed only for compressed pixels
    put32(info, 0); // pixels per metre, horizontally and vertically
    put32(info, 0);
    put32(info, h.coloursUsed);
    put32(info, 0); // important colours: all
    return info;
}

// ------------------------------------------------------------------ icons

constexpr std::size_t iconDirectorySize = 6;
constexpr std::size_t iconEntrySize = 16;

struct IconEntry {
    int area = 0;
    int bitCount = 0;
    IconImage image;
};

int side(unsigned char stored) {
    return stored == 0 ? 256 : stored;
}

std::uint32_t be32(const unsigned char* at) {
    return std::uint32_t(at[0]) << 24 | std::uint32_t(at[1]) << 16 | std::uint32_t(at[2]) << 8 |
           at[3];
}

// An icon image is a bitmap with its mask below it (twice the image's
// height), or a PNG stream, whose first chunk declares its sides. False when
// it is neither.
bool readIconSides(const unsigned char* image, std::size_t size, IconImage& icon) {
    static const unsigned char png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                        0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    if (size >= 4 && std::equal(png, png + 4, image)) {
        if (size < sizeof(png) + 8 || !std::equal(std::begin(png), std::end(png), image))
            return false;
        icon.width = be32(image + sizeof(png));
        icon.height = be32(image + sizeof(png) + 4);
        return true;
    }
    if (size < infoHeaderSize || le32(image) != infoHeaderSize)
        return false;
    auto width = static_cast<std::int32_t>(le32(image + 4));
    auto height = static_cast<std::int32_t>(le32(image + 8));
    icon.width = width < 0 ? 0 : std::uint32_t(width);
    icon.height = height < 0 ? 0 : std::uint32_t(height) / 2;
    return true;
}

// ------------------------------------------------------------------ metafiles

constexpr std::uint32_t placeableKey = 0x9AC6CDD7;
constexpr std::size_t placeableHeaderSize = 22;

} // namespace

std::optional<BitmapLayout> checkBitmapFile(const Bytes& bytes) {
    std::uint16_t type = 0;
    std::uint32_t offBits = 0;
    if (!read16(bytes, 0, type) || type != 0x4D42 || !read32(bytes, 10, offBits) ||
        !has(bytes, fileHeaderSize, 0))
        return std::nullopt;
    std::optional<BitmapHeader> read =
        readBitmapHeader(bytes.data() + fileHeaderSize, bytes.size() - fileHeaderSize);
    if (!read || !plausibleBitmap(*read))
        return std::nullopt;
    BitmapHeader header = *read;
    const std::uint32_t headerSize = header.size;
    Bytes colours;
    const std::size_t end = readColours(bytes, headerSize, header, colours);
    if (end == 0)
        return std::nullopt;

    BitmapLayout layout;
    // Some writers leave the offset 0; the pixels then follow the colours.
    layout.bitsOffset = offBits != 0 ? offBits : end;
    if (layout.bitsOffset >= bytes.size())
        return std::nullopt;
    const std::size_t available = bytes.size() - layout.bitsOffset;
    std::uint64_t needed = 0;
    if (runLengthEncoded(header.compression)) {
        needed = header.sizeImage != 0 ? header.sizeImage : available;
    } else {
        needed = pixelBytes(header);
    }
    if (needed > available)
        return std::nullopt;
    layout.bitsSize = static_cast<std::size_t>(needed);
    layout.compression = header.compression;
    layout.width = header.width;
    layout.height = header.height;
    layout.bitCount = header.bitCount;
    // The section that receives the pixels holds them unpacked.
    layout.info = infoHeaderBytes(
        header, runLengthEncoded(header.compression) ? plainPixels : header.compression);
    layout.info.insert(layout.info.end(), colours.begin(), colours.end());
    return layout;
}

std::optional<IconImage> checkIconFile(const Bytes& bytes) {
    std::uint16_t reserved = 0, type = 0, count = 0;
    if (!read16(bytes, 0, reserved) || !read16(bytes, 2, type) || !read16(bytes, 4, count) ||
        reserved != 0 || type != 1 || count == 0)
        return std::nullopt;
    IconEntry best;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = iconDirectorySize + i * iconEntrySize;
        if (!has(bytes, at, iconEntrySize))
            return std::nullopt;
        const unsigned char* entry = bytes.data() + at;
        IconEntry candidate{
            side(entry[0]) * side(entry[1]), le16(entry + 6), {le32(entry + 12), le32(entry + 8)}};
        if (i == 0 ||
            std::pair(candidate.area, candidate.bitCount) > std::pair(best.area, best.bitCount))
            best = candidate;
    }
    IconImage& image = best.image;
    if (image.offset >= bytes.size() || image.size > bytes.size() - image.offset ||
        !readIconSides(bytes.data() + image.offset, image.size, image))
        return std::nullopt;
    return image;
}

std::optional<std::uint32_t> checkEnhancedMetafile(const Bytes& bytes) {
    if (std::size_t total = enhancedMetafileBytes(bytes.data(), bytes.size()))
        return static_cast<std::uint32_t>(total);
    return std::nullopt;
}

std::optional<WindowsMetafile> checkWindowsMetafile(const Bytes& bytes) {
    std::uint32_t key = 0;
    if (read32(bytes, 0, key) && key == placeableKey && bytes.size() > placeableHeaderSize) {
        const unsigned char* header = bytes.data();
        auto field = [&](std::size_t at) { return static_cast<std::int16_t>(le16(header + at)); };
        int left = field(6), top = field(8), right = field(10), bottom = field(12);
        int unitsPerInch = le16(header + 14);
        std::size_t size =
            windowsMetafileBytes(header + placeableHeaderSize, bytes.size() - placeableHeaderSize);
        if (unitsPerInch == 0 || right <= left || bottom <= top || size == 0)
            return std::nullopt;
        return WindowsMetafile{placeableHeaderSize, size,         true,
                               right - left,        bottom - top, unitsPerInch};
    }
    if (std::size_t size = windowsMetafileBytes(bytes.data(), bytes.size()))
        return WindowsMetafile{0, size};
    return std::nullopt;
}

} // namespace tk
