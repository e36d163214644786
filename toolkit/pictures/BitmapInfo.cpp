#include "toolkit/pictures/BitmapInfo.h"

#include <algorithm>
#include <iterator>

namespace tk {
namespace {

std::uint16_t le16(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t le32(const unsigned char* at) {
    return le16(at) | static_cast<std::uint32_t>(le16(at + 2)) << 16;
}

// Nothing the program shows comes near this side; it keeps the pixel count
// of a claimed size far from any overflow.
constexpr std::int32_t maxSide = 32767;

} // namespace

std::optional<BitmapHeader> readBitmapHeader(const unsigned char* at, std::size_t available) {
    if (available < 4)
        return std::nullopt;
    BitmapHeader header;
    header.size = le32(at);
    if (header.size == coreHeaderSize && available >= coreHeaderSize) {
        header.width = le16(at + 4);
        header.height = le16(at + 6);
        header.planes = le16(at + 8);
        header.bitCount = le16(at + 10);
        return header;
    }
    // The longer headers share the classic header's 40 bytes.
    if (header.size < infoHeaderSize || available < infoHeaderSize)
        return std::nullopt;
    header.width = static_cast<std::int32_t>(le32(at + 4));
    header.height = static_cast<std::int32_t>(le32(at + 8));
    header.planes = le16(at + 12);
    header.bitCount = le16(at + 14);
    header.compression = le32(at + 16);
    header.sizeImage = le32(at + 20);
    header.coloursUsed = le32(at + 32);
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
