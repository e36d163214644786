// Text with any byte-order mark, or none, decodes without fault and encodes
// back to the same bytes (an odd last byte of UTF-16 aside, which is no
// character and is dropped).
#include "toolkit/text/TextEncoding.h"

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes = fuzz_support::text(data, size);
    tk::MarkedText decoded = tk::decodeText(bytes);
    std::string encoded = tk::encodeText(decoded.text, decoded.encoding);
    bool utf16 = decoded.encoding == tk::TextEncoding::utf16le ||
                 decoded.encoding == tk::TextEncoding::utf16be;
    FUZZ_CHECK(encoded == (utf16 && size % 2 == 1 ? bytes.substr(0, size - 1) : bytes));
    return 0;
}
