// The enhanced metafile check: the byte count handed to the system lies
// within the file and holds the whole header.
#include "toolkit/pictures/PictureLayouts.h"

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tk::PictureBytes bytes = fuzz_support::bytes(data, size);
    if (std::optional<std::uint32_t> total = tk::checkEnhancedMetafile(bytes))
        FUZZ_CHECK(*total >= 52 && *total <= bytes.size());
    return 0;
}
