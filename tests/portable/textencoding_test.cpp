// Text files with a byte-order mark decode to UTF-8 and encode back to the
// same bytes.
#include "toolkit/text/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextEncoding, UnicodeFilesComeBackByteForByte) {
    using namespace std::string_literals;
    const std::string files[] = {
        "\xFF\xFE\x3D\x00\x3D\xD8\x00\xDE\x00\xD8"s,         // a pair, then a lone high half
        "\xFE\xFF\xDC\x00\x00\x41\xD8\x3D\xDE\x00\x00\x0D"s, // a lone low half, a pair
        "\xEF\xBB\xBFk=\xC3\xA9 \xFF\xFE"s,                  // UTF-8, invalid bytes and all
        "\xFF\xFE"s,
        "no mark \xFF\xFE"s,
    };
    for (const std::string& file : files) {
        tk::MarkedText decoded = tk::decodeText(file);
        EXPECT_EQ(tk::encodeText(decoded.text, decoded.encoding), file) << decoded.text;
    }
    EXPECT_EQ(tk::decodeText("\xFF\xFE\x41\0\x42"s).text, "A") << "an odd last byte is no letter";
    EXPECT_EQ(tk::decodeText("\xFE\xFF\xD8\x3D\xDE\x00"s).text, "\xF0\x9F\x98\x80");
}
