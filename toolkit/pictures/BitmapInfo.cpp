#include "toolkit/pictures/BitmapInfo.h"

#include <algorithm>
#include <iterator>

namespace tk {
namespace {

// Nothing the program shows comes near this side; it keeps the pixel count
// of a claimed size far from any overflow.
constexpr std::int32_t maxSide = 32767;

// The old 12-byte header, whose sides take 16 bits each.
std::optional<BitmapHeader> readCoreHeader(const ByteReader& bytes) {
    BitmapHeader header;
    header.size = coreHeaderSize;
    std::uint16_t width = 0, height = 0;
    if (!bytes.read(4, width) || !bytes.read(6, height) || !bytes.read(8, header.planes) ||
        !bytes.read(10, header.bitCount))
        return std::nullopt;
    header.width = width;
    header.height = height;
    return header;
}

} // namespace

std::optional<BitmapHeader> readBitmapHeader(const ByteReader& bytes) {
    BitmapHeader header;
    if (!bytes.read(0, header.size))
        return std::nullopt;
    if (header.size == coreHeaderSize && bytes.has(0, coreHeaderSize))
        return readCoreHeader(bytes);
    // The longer headers share the classic header's 40 bytes.
    if (header.size < infoHeaderSize || !bytes.has(0, infoHeaderSize) ||
        !bytes.read(4, header.width) || !bytes.read(8, header.height) ||
        !bytes.read(12, header.planes) || !bytes.read(14, header.bitCount) ||
        !bytes.read(16, header.compression) || !bytes.read(20, header.sizeImage) ||
        !bytes.read(32, header.coloursUsed))
        return std::nullopt;
    return header;
}

bool plausibleBitmap(const BitmapHeader& h) {
    static const std::uint16_t depths[] = {1, 4, 8, 16, 24, 32};
    if (h.planes != 1 ||
        std::find(std::begin(depths), std::end(depths), h.bitCount) == std::end(depths))
        return false;
    if (h.width <= 0 || h.width > maxSide || h.height == 0 || h.height > maxSide ||
        h.height < -maxSide)
        return false;
    switch (h.compression) {
    case plainPixels:
        return true;
    case bitFields:
        return h.bitCount == 16 || h.bitCount == 32;
    case runs8:
        return h.bitCount == 8 && h.height > 0;
    case runs4:
        return h.bitCount == 4 && h.height > 0;
    default:
        return false;
    }
}

std::uint64_t rowBytes(std::int32_t width, unsigned bitCount) {
    return (std::uint64_t(width < 0 ? 0 : width) * bitCount + 31) / 32 * 4;
}

std::uint64_t pixelBytes(const BitmapHeader& h) {
    std::uint64_t rows = h.height < 0 ? -std::int64_t(h.height) : h.height;
    return rowBytes(h.width, h.bitCount) * rows;
}

bool pictureFits(std::uint64_t width, std::uint64_t height, unsigned bitCount) {
    // Larger sides fit nothing, and the product below stays far from overflow.
    constexpr std::uint64_t side = std::uint64_t{1} << 24;
    if (width > side || height > side)
        return false;
    return (width * bitCount + 31) / 32 * 4 * height <= maxPictureBytes;
}

} // namespace tk
