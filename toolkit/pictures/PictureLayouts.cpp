#include "toolkit/pictures/PictureLayouts.h"

#include "toolkit/pictures/MetafileCheck.h"

#include <algorithm>
#include <span>
#include <utility>

namespace tk {

namespace {

using Bytes = PictureBytes;

// ------------------------------------------------------------------ bitmaps

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t masksSize = 12;

// Appends the colour masks or the colour table (as 4-byte entries) to
// colours; returns the offset just past them in the file, or 0 when the file
// ends before.
std::size_t readColours(const ByteReader& file, std::uint32_t headerSize, BitmapHeader& header,
                        Bytes& colours) {
    const std::size_t at = fileHeaderSize + headerSize;
    if (header.compression == bitFields) {
        // Newer headers hold the masks themselves, right after the classic part.
        std::size_t masksAt =
            headerSize >= infoHeaderSize + masksSize ? fileHeaderSize + infoHeaderSize : at;
        std::optional<ByteReader> masks = file.part(masksAt, masksSize);
        if (!masks)
            return 0;
        colours.insert(colours.end(), masks->bytes().begin(), masks->bytes().end());
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
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<ByteReader> colour = file.part(at + i * entry, entry);
        if (!colour)
            return 0;
        colours.insert(colours.end(), colour->bytes().begin(), colour->bytes().end());
        // The old header's entries lack the fourth, reserved byte.
        if (entry == 3)
            colours.push_back(0);
    }
    return at + count * entry;
}

bool runLengthEncoded(std::uint32_t compression) {
    return compression == runs8 || compression == runs4;
}

Bytes infoHeaderBytes(const BitmapHeader& h, std::uint32_t compression) {
    Bytes info;
    appendLittleEndian(info, infoHeaderSize);
    appendLittleEndian(info, h.width);
    appendLittleEndian(info, h.height);
    appendLittleEndian(info, h.planes);
    appendLittleEndian(info, h.bitCount);
    appendLittleEndian(info, compression);
    appendLittleEndian(info, std::uint32_t{0}); // image size, needed only for compressed pixels
    appendLittleEndian(info, std::int32_t{0});  // pixels per metre, horizontally and vertically
    appendLittleEndian(info, std::int32_t{0});
    appendLittleEndian(info, h.coloursUsed);
    appendLittleEndian(info, std::uint32_t{0}); // important colours: all
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

int side(std::uint8_t stored) {
    return stored == 0 ? 256 : stored;
}

// The directory entry at `at`: the image's sides, depth, size and offset.
std::optional<IconEntry> readIconEntry(const ByteReader& file, std::size_t at) {
    std::optional<ByteReader> entry = file.part(at, iconEntrySize);
    std::uint8_t width = 0, height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t size = 0, offset = 0;
    if (!entry || !entry->read(0, width) || !entry->read(1, height) || !entry->read(6, bitCount) ||
        !entry->read(8, size) || !entry->read(12, offset))
        return std::nullopt;
    return IconEntry{side(width) * side(height), bitCount, {offset, size}};
}

bool startsWith(const ByteReader& bytes, std::span<const std::uint8_t> prefix) {
    std::optional<ByteReader> start = bytes.part(0, prefix.size());
    return start && std::ranges::equal(start->bytes(), prefix);
}

// PNG keeps its numbers big-endian.
std::optional<std::uint32_t> bigEndian32(const ByteReader& bytes, std::size_t at) {
    std::optional<ByteReader> field = bytes.part(at, 4);
    if (!field)
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::uint8_t byte : field->bytes())
        value = value << 8 | byte;
    return value;
}

// An icon image is a bitmap with its mask below it (twice the image's
// height), or a PNG stream, whose first chunk declares its sides. False when
// it is neither.
bool readIconSides(const ByteReader& image, IconImage& icon) {
    static const std::uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                       0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    if (startsWith(image, std::span(png).first(4))) {
        std::optional<std::uint32_t> width = bigEndian32(image, sizeof(png));
        std::optional<std::uint32_t> height = bigEndian32(image, sizeof(png) + 4);
        if (!startsWith(image, png) || !width || !height)
            return false;
        icon.width = *width;
        icon.height = *height;
        return true;
    }
    std::int32_t width = 0, height = 0;
    if (!image.has(0, infoHeaderSize) || image.get<std::uint32_t>(0) != infoHeaderSize ||
        !image.read(4, width) || !image.read(8, height))
        return false;
    icon.width = width < 0 ? 0 : std::uint32_t(width);
    icon.height = height < 0 ? 0 : std::uint32_t(height) / 2;
    return true;
}

// ------------------------------------------------------------------ metafiles

constexpr std::uint32_t placeableKey = 0x9AC6CDD7;
constexpr std::size_t placeableHeaderSize = 22;

// A metafile behind the placeable header, which gives its picture's size.
std::optional<WindowsMetafile> checkPlaceableMetafile(const ByteReader& file) {
    std::int16_t left = 0, top = 0, right = 0, bottom = 0;
    std::uint16_t unitsPerInch = 0;
    std::optional<ByteReader> metafile = file.from(placeableHeaderSize);
    if (!file.read(6, left) || !file.read(8, top) || !file.read(10, right) ||
        !file.read(12, bottom) || !file.read(14, unitsPerInch) || !metafile)
        return std::nullopt;
    if (unitsPerInch == 0 || right <= left || bottom <= top)
        return std::nullopt;
    std::size_t size =
        windowsMetafileBytes(*metafile, PlaceableFrame{right - left, bottom - top, unitsPerInch});
    if (size == 0)
        return std::nullopt;
    return WindowsMetafile{placeableHeaderSize, size,         true,
                           right - left,        bottom - top, unitsPerInch};
}

} // namespace

std::optional<BitmapLayout> checkBitmapFile(const Bytes& bytes) {
    const ByteReader file(bytes);
    std::uint16_t type = 0;
    std::uint32_t offBits = 0;
    std::optional<ByteReader> afterFileHeader = file.from(fileHeaderSize);
    if (!file.read(0, type) || type != 0x4D42 || !file.read(10, offBits) || !afterFileHeader)
        return std::nullopt;
    std::optional<BitmapHeader> read = readBitmapHeader(*afterFileHeader);
    if (!read || !plausibleBitmap(*read))
        return std::nullopt;
    BitmapHeader header = *read;
    const std::uint32_t headerSize = header.size;
    Bytes colours;
    const std::size_t end = readColours(file, headerSize, header, colours);
    if (end == 0)
        return std::nullopt;

    BitmapLayout layout;
    // Some writers leave the offset 0; the pixels then follow the colours.
    layout.bitsOffset = offBits != 0 ? offBits : end;
    std::optional<ByteReader> pixels = file.from(layout.bitsOffset);
    if (!pixels || pixels->size() == 0)
        return std::nullopt;
    std::uint64_t needed = 0;
    if (runLengthEncoded(header.compression)) {
        needed = header.sizeImage != 0 ? header.sizeImage : pixels->size();
    } else {
        needed = pixelBytes(header);
    }
    if (needed > pixels->size())
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
    const ByteReader file(bytes);
    std::uint16_t reserved = 0, type = 0, count = 0;
    if (!file.read(0, reserved) || !file.read(2, type) || !file.read(4, count) || reserved != 0 ||
        type != 1 || count == 0)
        return std::nullopt;
    IconEntry best;
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<IconEntry> candidate =
            readIconEntry(file, iconDirectorySize + i * iconEntrySize);
        if (!candidate)
            return std::nullopt;
        if (i == 0 ||
            std::pair(candidate->area, candidate->bitCount) > std::pair(best.area, best.bitCount))
            best = *candidate;
    }
    IconImage& image = best.image;
    std::optional<ByteReader> data = file.part(image.offset, image.size);
    if (!data || !readIconSides(*data, image))
        return std::nullopt;
    return image;
}

std::optional<std::uint32_t> checkEnhancedMetafile(const Bytes& bytes) {
    if (std::size_t total = enhancedMetafileBytes(ByteReader(bytes)))
        return static_cast<std::uint32_t>(total);
    return std::nullopt;
}

std::optional<WindowsMetafile> checkWindowsMetafile(const Bytes& bytes) {
    const ByteReader file(bytes);
    if (file.get<std::uint32_t>(0) == placeableKey && file.has(placeableHeaderSize, 1))
        return checkPlaceableMetafile(file);
    if (std::size_t size = windowsMetafileBytes(file))
        return WindowsMetafile{0, size};
    return std::nullopt;
}

} // namespace tk
