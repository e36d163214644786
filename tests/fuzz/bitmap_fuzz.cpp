// The bitmap file check: whatever it accepts, the system reads only within
// the file, from the header and colours built for it.
#include "toolkit/pictures/PictureLayouts.h"

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tk::PictureBytes bytes = fuzz_support::bytes(data, size);
    std::optional<tk::BitmapLayout> layout = tk::checkBitmapFile(bytes);
    if (!layout)
        return 0;
    FUZZ_CHECK(layout->bitsOffset < bytes.size());
    FUZZ_CHECK(layout->bitsSize <= bytes.size() - layout->bitsOffset);
    FUZZ_CHECK(layout->width > 0 && layout->height != 0);

    const tk::PictureBytes& info = layout->info;
    FUZZ_CHECK(info.size() >= 40);
    auto field = [&](std::size_t at) {
        return std::uint32_t(info[at] | info[at + 1] << 8 | info[at + 2] << 16 |
                             std::uint32_t(info[at + 3]) << 24);
    };
    const std::uint32_t depth = field(12) >> 16, compression = field(16), colours = field(32);
    FUZZ_CHECK(field(0) == 40);
    FUZZ_CHECK(compression == tk::plainPixels || compression == tk::bitFields);
    FUZZ_CHECK(info.size() == 40 + (compression == tk::bitFields ? 12 : 4 * colours));
    if (layout->compression == tk::plainPixels || layout->compression == tk::bitFields) {
        std::uint64_t stride = (std::uint64_t(layout->width) * depth + 31) / 32 * 4;
        std::uint64_t rows = layout->height < 0 ? -std::int64_t(layout->height) : layout->height;
        FUZZ_CHECK(layout->bitsSize == stride * rows);
    }
    return 0;
}
