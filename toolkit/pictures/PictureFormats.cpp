#include "toolkit/pictures/PictureFormats.h"

#include "toolkit/base/Error.h"
#include "toolkit/files/FileReader.h"

#include <cstdlib>
#include <cstring>
#include <optional>

namespace tk {

namespace {

const char* const kBitmapNotValid = "Bitmap image is not valid";
const char* const kIconNotValid = "Icon image is not valid";
const char* const kMetafileNotValid = "Metafile is not valid";

// Refused by the sides the file declares, before the system decodes a pixel.
void requireFits(std::uint64_t width, std::uint64_t height, unsigned bitCount) {
    if (!pictureFits(width, height, bitCount))
        throw Error(formatMessage("Picture is too large: %s pixels",
                                  std::to_string(width) + " x " + std::to_string(height)));
}

// Nothing the program shows comes near this; a larger file is read only up to
// it and then fails its format's checks like any truncated file.
constexpr size_t kMaxPictureBytes = size_t{256} << 20;

} // namespace

PictureBytes readPictureFile(const std::string& path) {
    std::optional<InputFile> file;
    try {
        file.emplace(path);
    } catch (const InOutError&) {
        throw Error(formatMessage("Cannot open file %s", path));
    }
    std::string bytes = file->readAll(kMaxPictureBytes);
    return PictureBytes(bytes.begin(), bytes.end());
}

BitmapHandle readBitmapFile(const PictureBytes& bytes) {
    std::optional<BitmapLayout> layout = checkBitmapFile(bytes);
    if (!layout)
        throw Error(kBitmapNotValid);
    requireFits(std::uint64_t(layout->width), std::uint64_t(std::abs(std::int64_t(layout->height))),
                layout->bitCount);
    PictureBytes info = layout->info;
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                         DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        throw Error(kBitmapNotValid);
    const unsigned char* source = bytes.data() + layout->bitsOffset;
    if (layout->compression != runs8 && layout->compression != runs4) {
        std::memcpy(bits, source, layout->bitsSize);
        return bitmap;
    }
    // GDI unpacks the runs into the section, within the given byte count.
    auto packed = reinterpret_cast<BITMAPINFO*>(info.data());
    packed->bmiHeader.biCompression = layout->compression;
    packed->bmiHeader.biSizeImage = static_cast<DWORD>(layout->bitsSize);
    MemoryDc dc(CreateCompatibleDC(nullptr));
    SelectObjectScope select(dc.get(), bitmap.get());
    if (!SetDIBitsToDevice(dc.get(), 0, 0, layout->width, layout->height, 0, 0, 0, layout->height,
                           source, packed, DIB_RGB_COLORS))
        throw Error(kBitmapNotValid);
    return bitmap;
}

IconHandle readIconFile(const PictureBytes& bytes) {
    std::optional<IconImage> image = checkIconFile(bytes);
    if (!image)
        throw Error(kIconNotValid);
    // The system makes a 32-bit colour bitmap of any icon image.
    requireFits(image->width, image->height, 32);
    // The function only reads the image; its parameter merely lacks the const.
    auto data = const_cast<unsigned char*>(bytes.data() + image->offset);
    // Version 3 is the icon format of Windows 3.0 and later; sizes of 0 keep
    // the image's own.
    IconHandle icon(CreateIconFromResourceEx(data, static_cast<DWORD>(image->size), TRUE,
                                             0x00030000, 0, 0, LR_DEFAULTCOLOR));
    if (!icon)
        throw Error(kIconNotValid);
    return icon;
}

namespace {

// A placeable header gives the picture's size in its own units per inch;
// the system wants it in hundredths of a millimetre, 2540 to the inch.
HENHMETAFILE fromWindowsMetafile(const PictureBytes& bytes, const WindowsMetafile& metafile) {
    const unsigned char* data = bytes.data() + metafile.dataOffset;
    UINT size = static_cast<UINT>(metafile.dataSize);
    if (!metafile.placeable)
        return SetWinMetaFileBits(size, data, nullptr, nullptr);
    METAFILEPICT frame{MM_ANISOTROPIC, MulDiv(metafile.width, 2540, metafile.unitsPerInch),
                       MulDiv(metafile.height, 2540, metafile.unitsPerInch), nullptr};
    return SetWinMetaFileBits(size, data, nullptr, &frame);
}

} // namespace

MetafileHandle readMetafileFile(const PictureBytes& bytes) {
    HENHMETAFILE metafile = nullptr;
    if (auto size = checkEnhancedMetafile(bytes))
        metafile = SetEnhMetaFileBits(*size, bytes.data());
    else if (auto windows = checkWindowsMetafile(bytes))
        metafile = fromWindowsMetafile(bytes, *windows);
    if (!metafile)
        throw Error(kMetafileNotValid);
    return MetafileHandle(metafile);
}

} // namespace tk
