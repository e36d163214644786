// The rules every device-independent bitmap meets wherever it is kept (a
// bitmap file, an icon, a metafile record): its header, its depth and
// compression, the bytes its rows take, and the largest picture the program
// decodes at all. Portable byte work, no system calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tk {

// The compressions of a bitmap, as its header stores them.
enum BitmapCompression : std::uint32_t { plainPixels = 0, runs8 = 1, runs4 = 2, bitFields = 3 };

constexpr std::uint32_t coreHeaderSize = 12;
constexpr std::uint32_t infoHeaderSize = 40;

// The fields of the classic header, read from it or from the old 12-byte
// one (which has no compression or colour count).
struct BitmapHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0; // negative when the rows run from the top
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = plainPixels;
    std::uint32_t sizeImage = 0;
    std::uint32_t coloursUsed = 0;
};

// The header at `at`, of which `available` bytes may be read; nothing when it
// is cut short or its size is none a header has.
std::optional<BitmapHeader> readBitmapHeader(const unsigned char* at, std::size_t available);

// One plane, a depth of 1, 4, 8, 16, 24 or 32 bits, sides within 32767 and a
// compression the depth allows (runs only for bottom-up rows).
bool plausibleBitmap(const BitmapHeader& header);

// The bytes of one row, padded to four.
std::uint64_t rowBytes(std::int32_t width, unsigned bitCount);

// The bytes of all rows, unpacked.
std::uint64_t pixelBytes(const BitmapHeader& header);

// The most a decoded picture may take in memory. The skin window is 340 by
// 385 pixels and a preview smaller still; this keeps a monochrome bitmap of
// 30,000 pixels square, while a picture whose declared size would take
// gigabytes is refused before any of it is decoded.
constexpr std::uint64_t maxPictureBytes = std::uint64_t{128} << 20;

// Whether a picture of these sides fits that bound at the given depth.
bool pictureFits(std::uint64_t width, std::uint64_t height, unsigned bitCount);

} // namespace tk
