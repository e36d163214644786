// The byte checks of picture files (Windows bitmaps, icons, metafiles), read
// as little-endian layouts of their own: each says where a file's parts lie,
// or that the file is damaged, before any of it reaches the system.
#pragma once

#include "toolkit/pictures/BitmapInfo.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tk {

using PictureBytes = std::vector<unsigned char>;

// A bitmap file brought to the one form the system takes everywhere: a
// 40-byte info header (without compression, the pixels then being unpacked),
// then the colour masks or the colour table.
struct BitmapLayout {
    PictureBytes info;
    std::size_t bitsOffset = 0; // the pixels as stored, bitsSize bytes long
    std::size_t bitsSize = 0;
    std::uint32_t compression = plainPixels;
    std::int32_t width = 0;
    std::int32_t height = 0; // negative when the rows run from the top
    unsigned bitCount = 0;
};

// Nothing when the file is damaged: a header, colours or pixels past its end,
// a size, depth or compression that no bitmap has.
std::optional<BitmapLayout> checkBitmapFile(const PictureBytes& bytes);

// The part of an icon file that holds its largest image (the deepest of equal
// size): a bitmap with its mask, or a PNG stream; and the image's sides as
// its own header declares them.
struct IconImage {
    std::size_t offset = 0;
    std::size_t size = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

std::optional<IconImage> checkIconFile(const PictureBytes& bytes);

// An enhanced metafile that the system's player can be given: the byte count
// its header claims, within the file.
std::optional<std::uint32_t> checkEnhancedMetafile(const PictureBytes& bytes);

// An old-style metafile, with or without a placeable header in front.
struct WindowsMetafile {
    std::size_t dataOffset = 0; // where the metafile itself starts
    std::size_t dataSize = 0;   // its byte count, within the file
    bool placeable = false;
    // The placeable header's picture size, in its own units per inch.
    int width = 0;
    int height = 0;
    int unitsPerInch = 0;
};

std::optional<WindowsMetafile> checkWindowsMetafile(const PictureBytes& bytes);

} // namespace tk
