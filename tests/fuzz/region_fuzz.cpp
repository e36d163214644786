// Stored window shapes come from outside the program: any bytes must give a
// region or none, never a read past the data, and a region read must write
// back to the bytes it came from.
#include "shape/RegionPayload.h"

#include "fuzz/FuzzCheck.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> payload(data, size);
    auto region = shape::readRegionPayload(payload);
    if (!region)
        return 0;
    shape::Bytes written = shape::regionPayload(shape::regionBlock(*region));
    FUZZ_CHECK(written.size() <= size &&
               std::equal(written.begin(), written.end(), payload.begin()));
    return 0;
}
