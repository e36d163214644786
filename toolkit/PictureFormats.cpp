#include "toolkit/PictureFormats.h"

#include "toolkit/Error.h"
#include "toolkit/FileReader.h"
#include "toolkit/MetafileCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

namespace tk {

namespace {

using Bytes = PictureBytes;

const char* const kBitmapNotValid = "Bitmap image is not valid";
const char* const kIconNotValid = "Icon image is not valid";
const char* const kMetafileNotValid = "Metafile is not valid";

// Nothing the program shows comes near this; a larger file is read only up to
// it and then fails its format's checks like any truncated file.
constexpr size_t kMaxPictureBytes = size_t{256} << 20;
constexpr LONG kMaxBitmapSide = 32767;

// Reads a plain value at a byte offset; false when the bytes end before it.
template <typename T> bool readAt(const Bytes& bytes, size_t offset, T& value) {
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T))
        return false;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return true;
}

template <typename T> void append(Bytes& bytes, const T& value) {
    auto first = reinterpret_cast<const unsigned char*>(&value);
    bytes.insert(bytes.end(), first, first + sizeof(T));
}

} // namespace

Bytes readPictureFile(const std::string& path) {
    std::optional<InputFile> file;
    try {
        file.emplace(path);
    } catch (const InOutError&) {
        throw Error(formatMessage("Cannot open file %s", path));
    }
    std::string bytes = file->readAll(kMaxPictureBytes);
    return Bytes(bytes.begin(), bytes.end());
}

// ------------------------------------------------------------------ bitmaps

namespace {

// Where a bitmap file keeps its parts, with its header brought to the one
// form GDI takes everywhere: BITMAPINFOHEADER, then masks or colours.
struct BitmapLayout {
    Bytes info;
    size_t bitsOffset = 0;
    size_t bitsSize = 0;
    DWORD compression = BI_RGB;
};

bool readInfoHeader(const Bytes& bytes, DWORD headerSize, BITMAPINFOHEADER& header) {
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        BITMAPCOREHEADER core{};
        if (!readAt(bytes, sizeof(BITMAPFILEHEADER), core))
            return false;
        header.biWidth = core.bcWidth;
        header.biHeight = core.bcHeight;
        header.biPlanes = core.bcPlanes;
        header.biBitCount = core.bcBitCount;
        header.biCompression = BI_RGB;
        return true;
    }
    return headerSize >= sizeof(BITMAPINFOHEADER) &&
           readAt(bytes, sizeof(BITMAPFILEHEADER), header);
}

bool plausible(const BITMAPINFOHEADER& h) {
    static const WORD depths[] = {1, 4, 8, 16, 24, 32};
    if (h.biPlanes != 1 ||
        std::find(std::begin(depths), std::end(depths), h.biBitCount) == std::end(depths))
        return false;
    if (h.biWidth <= 0 || h.biWidth > kMaxBitmapSide || h.biHeight == 0 ||
        h.biHeight > kMaxBitmapSide || h.biHeight < -kMaxBitmapSide)
        return false;
    switch (h.biCompression) {
    case BI_RGB:
        return true;
    case BI_BITFIELDS:
        return h.biBitCount == 16 || h.biBitCount == 32;
    case BI_RLE8:
        return h.biBitCount == 8 && h.biHeight > 0;
    case BI_RLE4:
        return h.biBitCount == 4 && h.biHeight > 0;
    default:
        return false;
    }
}

// Reads the colour masks or the colour table into colours; returns the offset
// just past them in the file, or 0 when the file ends before.
size_t readColours(const Bytes& bytes, DWORD headerSize, BITMAPINFOHEADER& header, Bytes& colours) {
    size_t at = sizeof(BITMAPFILEHEADER) + headerSize;
    if (header.biCompression == BI_BITFIELDS) {
        // Newer headers hold the masks themselves, right after the classic part.
        size_t masksAt = headerSize >= sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD)
                             ? sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)
                             : at;
        DWORD masks[3];
        if (!readAt(bytes, masksAt, masks))
            return 0;
        append(colours, masks);
        return masksAt == at ? at + sizeof(masks) : at;
    }
    if (header.biBitCount > 8) {
        header.biClrUsed = 0;
        return at;
    }
    DWORD full = 1u << header.biBitCount;
    DWORD count = header.biClrUsed == 0 ? full : std::min(header.biClrUsed, full);
    header.biClrUsed = count;
    bool core = headerSize == sizeof(BITMAPCOREHEADER);
    for (DWORD i = 0; i < count; ++i) {
        RGBQUAD colour{};
        if (core) {
            RGBTRIPLE triple{};
            if (!readAt(bytes, at + i * sizeof(RGBTRIPLE), triple))
                return 0;
            colour = {triple.rgbtBlue, triple.rgbtGreen, triple.rgbtRed, 0};
        } else if (!readAt(bytes, at + i * sizeof(RGBQUAD), colour)) {
            return 0;
        }
        append(colours, colour);
    }
    return at + count * (core ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD));
}

bool runLengthEncoded(DWORD compression) {
    return compression == BI_RLE8 || compression == BI_RLE4;
}

// Checks a bitmap file far enough that GDI never reads past its end.
bool parseBitmapFile(const Bytes& bytes, BitmapLayout& layout) {
    BITMAPFILEHEADER file{};
    DWORD headerSize = 0;
    BITMAPINFOHEADER header{};
    if (!readAt(bytes, 0, file) || file.bfType != 0x4D42 ||
        !readAt(bytes, sizeof(file), headerSize) || !readInfoHeader(bytes, headerSize, header) ||
        !plausible(header))
        return false;
    Bytes colours;
    size_t end = readColours(bytes, headerSize, header, colours);
    if (end == 0)
        return false;

    // Some writers leave the offset 0; the pixels then follow the colours.
    layout.bitsOffset = file.bfOffBits != 0 ? file.bfOffBits : end;
    if (layout.bitsOffset >= bytes.size())
        return false;
    size_t available = bytes.size() - layout.bitsOffset;
    uint64_t needed = 0;
    layout.compression = header.biCompression;
    if (runLengthEncoded(header.biCompression)) {
        needed = header.biSizeImage != 0 ? header.biSizeImage : available;
        // The section that receives the pixels holds them unpacked.
        header.biCompression = BI_RGB;
    } else {
        uint64_t stride = (uint64_t(header.biWidth) * header.biBitCount + 31) / 32 * 4;
        needed = stride * uint64_t(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    }
    if (needed > available)
        return false;
    layout.bitsSize = static_cast<size_t>(needed);
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biSizeImage = 0;
    append(layout.info, header);
    layout.info.insert(layout.info.end(), colours.begin(), colours.end());
    return true;
}

} // namespace

BitmapHandle readBitmapFile(const Bytes& bytes) {
    BitmapLayout layout;
    if (!parseBitmapFile(bytes, layout))
        throw Error(kBitmapNotValid);
    auto info = reinterpret_cast<BITMAPINFO*>(layout.info.data());
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        throw Error(kBitmapNotValid);
    const unsigned char* source = bytes.data() + layout.bitsOffset;
    if (runLengthEncoded(layout.compression)) {
        // GDI unpacks the runs into the section, within the given byte count.
        Bytes packedInfo = layout.info;
        auto packed = reinterpret_cast<BITMAPINFO*>(packedInfo.data());
        packed->bmiHeader.biCompression = layout.compression;
        packed->bmiHeader.biSizeImage = static_cast<DWORD>(layout.bitsSize);
        LONG width = packed->bmiHeader.biWidth;
        LONG height = packed->bmiHeader.biHeight;
        MemoryDc dc(CreateCompatibleDC(nullptr));
        SelectObjectScope select(dc.get(), bitmap.get());
        if (!SetDIBitsToDevice(dc.get(), 0, 0, width, height, 0, 0, 0, height, source, packed,
                               DIB_RGB_COLORS))
            throw Error(kBitmapNotValid);
    } else {
        std::memcpy(bits, source, layout.bitsSize);
    }
    return bitmap;
}

// ------------------------------------------------------------------ icons

namespace {

#pragma pack(push, 2)
struct IconDirectory {
    WORD reserved;
    WORD type;
    WORD count;
};
struct IconEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    DWORD offset;
};
#pragma pack(pop)

int side(BYTE stored) {
    return stored == 0 ? 256 : stored;
}

// The largest image of the file, the deepest of equal size.
bool bestIconImage(const Bytes& bytes, IconEntry& best) {
    IconDirectory directory{};
    if (!readAt(bytes, 0, directory) || directory.reserved != 0 || directory.type != 1 ||
        directory.count == 0)
        return false;
    for (WORD i = 0; i < directory.count; ++i) {
        IconEntry entry{};
        if (!readAt(bytes, sizeof(directory) + i * sizeof(entry), entry))
            return false;
        auto rank = [](const IconEntry& e) {
            return std::make_pair(side(e.width) * side(e.height), int(e.bitCount));
        };
        if (i == 0 || rank(entry) > rank(best))
            best = entry;
    }
    return best.offset < bytes.size() && best.bytes <= bytes.size() - best.offset;
}

// An icon image is a DIB with its mask, or a PNG stream.
bool looksLikeIconImage(const unsigned char* image, size_t size) {
    static const unsigned char png[] = {0x89, 'P', 'N', 'G'};
    DWORD headerSize = 0;
    if (size >= sizeof(png) && std::memcmp(image, png, sizeof(png)) == 0)
        return true;
    if (size < sizeof(BITMAPINFOHEADER))
        return false;
    std::memcpy(&headerSize, image, sizeof(headerSize));
    return headerSize == sizeof(BITMAPINFOHEADER);
}

} // namespace

IconHandle readIconFile(const Bytes& bytes) {
    IconEntry entry{};
    if (!bestIconImage(bytes, entry) ||
        !looksLikeIconImage(bytes.data() + entry.offset, entry.bytes))
        throw Error(kIconNotValid);
    // The function only reads the image; its parameter merely lacks the const.
    auto image = const_cast<unsigned char*>(bytes.data() + entry.offset);
    // Version 3 is the icon format of Windows 3.0 and later; sizes of 0 keep
    // the image's own.
    IconHandle icon(
        CreateIconFromResourceEx(image, entry.bytes, TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR));
    if (!icon)
        throw Error(kIconNotValid);
    return icon;
}

// ------------------------------------------------------------------ metafiles

namespace {

constexpr DWORD kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableHeaderSize = 22;

// A placeable header gives the picture's size in its own units per inch.
HENHMETAFILE fromPlaceableMetafile(const Bytes& bytes) {
    SHORT left, top, right, bottom;
    WORD unitsPerInch;
    std::memcpy(&left, bytes.data() + 6, 2);
    std::memcpy(&top, bytes.data() + 8, 2);
    std::memcpy(&right, bytes.data() + 10, 2);
    std::memcpy(&bottom, bytes.data() + 12, 2);
    std::memcpy(&unitsPerInch, bytes.data() + 14, 2);
    const unsigned char* data = bytes.data() + kPlaceableHeaderSize;
    size_t size = windowsMetafileBytes(data, bytes.size() - kPlaceableHeaderSize);
    if (unitsPerInch == 0 || right <= left || bottom <= top || size == 0)
        return nullptr;
    // Extents in hundredths of a millimetre: 2540 to the inch.
    METAFILEPICT frame{MM_ANISOTROPIC, MulDiv(right - left, 2540, unitsPerInch),
                       MulDiv(bottom - top, 2540, unitsPerInch), nullptr};
    return SetWinMetaFileBits(static_cast<UINT>(size), data, nullptr, &frame);
}

} // namespace

MetafileHandle readMetafileFile(const Bytes& bytes) {
    HENHMETAFILE metafile = nullptr;
    DWORD key = 0;
    if (size_t enhancedSize = enhancedMetafileBytes(bytes.data(), bytes.size())) {
        metafile = SetEnhMetaFileBits(static_cast<UINT>(enhancedSize), bytes.data());
    } else if (readAt(bytes, 0, key) && key == kPlaceableKey &&
               bytes.size() > kPlaceableHeaderSize) {
        metafile = fromPlaceableMetafile(bytes);
    } else if (size_t windowsSize = windowsMetafileBytes(bytes.data(), bytes.size())) {
        metafile =
            SetWinMetaFileBits(static_cast<UINT>(windowsSize), bytes.data(), nullptr, nullptr);
    }
    if (!metafile)
        throw Error(kMetafileNotValid);
    return MetafileHandle(metafile);
}

} // namespace tk
