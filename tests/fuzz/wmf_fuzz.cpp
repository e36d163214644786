// The old-style metafile check, with and without a placeable header: the
// metafile handed on starts within the file with a whole header, and a
// placeable picture has a size.
#include "toolkit/pictures/PictureLayouts.h"

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tk::PictureBytes bytes = fuzz_support::bytes(data, size);
    std::optional<tk::WindowsMetafile> metafile = tk::checkWindowsMetafile(bytes);
    if (!metafile)
        return 0;
    FUZZ_CHECK(metafile->dataOffset <= bytes.size() && bytes.size() - metafile->dataOffset >= 18);
    FUZZ_CHECK(metafile->placeable == (metafile->dataOffset == 22));
    if (metafile->placeable)
        FUZZ_CHECK(metafile->width > 0 && metafile->height > 0 && metafile->unitsPerInch > 0);
    return 0;
}
