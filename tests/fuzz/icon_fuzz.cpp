// The icon file check: the image it picks lies within the file and starts as
// a bitmap header or a PNG stream.
#include "toolkit/pictures/PictureLayouts.h"

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tk::PictureBytes bytes = fuzz_support::bytes(data, size);
    std::optional<tk::IconImage> image = tk::checkIconFile(bytes);
    if (!image)
        return 0;
    FUZZ_CHECK(image->offset < bytes.size());
    FUZZ_CHECK(image->size >= 4 && image->size <= bytes.size() - image->offset);
    const unsigned char* start = bytes.data() + image->offset;
    FUZZ_CHECK((start[0] == 40 && start[1] == 0 && image->size >= 40) || start[0] == 0x89);
    return 0;
}
