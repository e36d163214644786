// The metafile checks read only within the data and accept only sizes within
// it, whatever the bytes.
#include "toolkit/MetafileCheck.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that the sanitizer sees any read
    // past it.
    std::vector<unsigned char> bytes(data, data + size);
    if (tk::enhancedMetafileBytes(bytes.data(), bytes.size()) > size ||
        tk::windowsMetafileBytes(bytes.data(), bytes.size()) > size)
        std::abort();
    return 0;
}
