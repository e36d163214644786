// Text with any byte-order mark, or none, decodes without fault and encodes
// back to the same bytes (an odd last byte of UTF-16 aside, which is no
// character and is dropped), and so does UTF-16 without a mark, which gets
// its mark. The UTF-8 test agrees with the escapes: text is
// well-formed exactly when escaping leaves it as it is, and escaping always
// comes back to the same bytes, also through UTF-16. Only an ASCII byte
// decodes to an ASCII character: no overlong form makes a path's backslash.
// The characters a reader sees follow each other through the whole text, each
// ending where a code point starts, and a text cut to fit keeps well-formed
// UTF-8 well-formed.
#include "toolkit/text/FittedText.h"
#include "toolkit/text/TextEncoding.h"
#include "toolkit/text/UserCharacters.h"

#include "fuzz/FuzzCheck.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes = fuzz_support::text(data, size);
    tk::MarkedText decoded = tk::decodeText(bytes);
    std::string encoded = tk::encodeText(decoded.text, decoded.encoding);
    bool utf16 = decoded.encoding == tk::TextEncoding::utf16le ||
                 decoded.encoding == tk::TextEncoding::utf16be;
    FUZZ_CHECK(encoded == (utf16 && size % 2 == 1 ? bytes.substr(0, size - 1) : bytes));

    tk::MarkedText settings = tk::decodeTextOrUnmarkedUtf16(std::string(bytes));
    if (tk::TextEncoding unmarked = tk::unmarkedUtf16Of(bytes); unmarked != tk::TextEncoding::none)
        FUZZ_CHECK(settings.encoding == unmarked &&
                   tk::encodeText(settings.text, unmarked) ==
                       tk::encodeText("", unmarked) +
                           std::string(bytes.substr(0, size - size % 2)));
    else
        FUZZ_CHECK(settings.encoding == decoded.encoding && settings.text == decoded.text);

    std::u16string read = tk::utf8ToUtf16(bytes);
    FUZZ_CHECK(std::count_if(read.begin(), read.end(), [](char16_t unit) { return unit < 0x80; }) ==
               std::count_if(bytes.begin(), bytes.end(),
                             [](char byte) { return static_cast<unsigned char>(byte) < 0x80; }));

    std::string escaped = tk::escapeInvalidUtf8(bytes);
    FUZZ_CHECK(tk::isUtf8(bytes) == (escaped == bytes));
    FUZZ_CHECK(tk::unescapeInvalidUtf8(escaped) == bytes);
    std::u16string units = tk::utf8ToUtf16(escaped);
    FUZZ_CHECK(tk::utf16ToUtf8(units) == escaped);
    if (tk::isUtf8(bytes))
        FUZZ_CHECK(tk::isUtf8(tk::utf16ToUtf8(units)));

    for (std::size_t at = 0; at < size;) {
        std::size_t end = tk::userCharacterEnd(bytes, at);
        FUZZ_CHECK(end > at && end <= size);
        FUZZ_CHECK(end == size || (static_cast<unsigned char>(bytes[end]) & 0xC0) != 0x80);
        at = end;
    }
    std::string fitted =
        tk::fittedText(bytes, [&](std::string_view text) { return text.size() <= size / 2; });
    if (tk::isUtf8(bytes))
        FUZZ_CHECK(tk::isUtf8(fitted));
    return 0;
}
