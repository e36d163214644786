// Text files with a byte-order mark decode to UTF-8 and encode back to the
// same bytes; UTF-8 is told from other text, and kept byte for byte where it
// is not well-formed.
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

TEST(IsUtf8, WellFormedTextOnly) {
    using namespace std::string_literals;
    for (const std::string& good :
         {""s, "plain ASCII\r\n"s, "Attach\xC3\xA9"s, "FM-16\xCE\xB2"s,
          "\xC2\xA3"s
          "15 Jackpot"s,
          "\xE2\x82\xAC"s, "\xF0\x9F\x98\x80"s, "\xF4\x8F\xBF\xBF"s, "nul \0 too"s})
        EXPECT_TRUE(tk::isUtf8(good)) << good;
    const std::string bad[] = {
        "Attach\xE9"s, // the system code page's letter
        "\xC3"s,       // cut short at the end
        "\xC3("s,      // a lead without its continuation
        "\x80"s,       // a lone continuation
        "\xC0\xAF"s,
        "\xC1\xBF"s, // overlong two-byte forms
        "\xE0\x80\xAF"s,
        "\xF0\x8F\xBF\xBF"s, // overlong three- and four-byte forms
        "\xED\xA0\x80"s,
        "\xED\xBF\xBF"s, // surrogates
        "\xF4\x90\x80\x80"s,
        "\xF5\x80\x80\x80"s,
        "\xFF"s,                        // beyond U+10FFFF
        "good \xC3\xA9 then bad \xE9"s, // mixed: one bad byte spoils it
    };
    for (const std::string& text : bad)
        EXPECT_FALSE(tk::isUtf8(text)) << text;
}

TEST(Utf16, EveryCharacterAndLoneHalfMakesTheRoundTrip) {
    using namespace std::string_literals;
    const std::u16string units =
        u"A\u00E9\u03B2\u20AC\U0001F600"s + char16_t(0xDC80) + u"x"s + char16_t(0xD800);
    std::string utf8 = tk::utf16ToUtf8(units);
    EXPECT_EQ(utf8, "A\xC3\xA9\xCE\xB2\xE2\x82\xAC\xF0\x9F\x98\x80\xED\xB2\x80x\xED\xA0\x80"s);
    EXPECT_EQ(tk::utf8ToUtf16(utf8), units);
    EXPECT_EQ(tk::utf8ToUtf16("Attach\xE9"s), u"Attach\u00E9") << "a stray byte is its value";
}

template <typename... Units> std::u16string u16(Units... units) {
    return {char16_t(units)...};
}

// Only a sequence that is one character, or a lone surrogate, decodes: the
// bytes of an overlong form or of a lead beyond U+10FFFF stand for their own
// values, so none of them reads as ASCII, as a path's backslash say.
TEST(Utf16, NoOtherSequenceDecodes) {
    using namespace std::string_literals;
    EXPECT_EQ(tk::utf8ToUtf16("C:\\a\xE0\x81\x9C"s), u"C:\\a"s + u16(0xE0, 0x81, 0x9C));
    EXPECT_EQ(tk::utf8ToUtf16("\xF0\x80\x81\x9C"s), u16(0xF0, 0x80, 0x81, 0x9C));
    EXPECT_EQ(tk::utf8ToUtf16("\xF8\x80\x80|"s), u16(0xF8, 0x80, 0x80, '|'));
    EXPECT_EQ(tk::utf8ToUtf16("\xED\xA0\x80"s), std::u16string(1, char16_t(0xD800)));
    for (const std::string& text : {"\xE0\x81\x9C"s, "\xF8\x80\x80"s, "\xC3"s})
        EXPECT_EQ(tk::firstCharacter(text), text.substr(0, 1)) << text;
    for (const std::string& text : {"\xCE\xB2x"s, "\xED\xA0\x80x"s, "\xF0\x9F\x8E\xAEx"s})
        EXPECT_EQ(tk::firstCharacter(text), text.substr(0, text.size() - 1)) << text;
}

TEST(InvalidUtf8Escapes, EveryByteComesBackAndValidTextStaysAsItIs) {
    using namespace std::string_literals;
    const std::string mixed = "rompath C:\\Jeux\\R\xC3\xA9tro;D:\\Caf\xE9\xFF\x80\xED\xA0\x80"s;
    std::string escaped = tk::escapeInvalidUtf8(mixed);
    EXPECT_TRUE(escaped.starts_with("rompath C:\\Jeux\\R\xC3\xA9tro;D:\\Caf"));
    EXPECT_EQ(tk::utf8ToUtf16(escaped).substr(28),
              (std::u16string{0xDCE9, 0xDCFF, 0xDC80, 0xDCED, 0xDCA0, 0xDC80}));
    EXPECT_EQ(tk::unescapeInvalidUtf8(escaped), mixed);
    EXPECT_EQ(tk::escapeInvalidUtf8("FM-16\xCE\xB2"s), "FM-16\xCE\xB2");
    // Text that went through UTF-16, as an editor holds it, comes back too.
    EXPECT_EQ(tk::unescapeInvalidUtf8(tk::utf16ToUtf8(tk::utf8ToUtf16(escaped))), mixed);
}

// The names a Windows user's folders have, as the system's W functions pass
// them and as the program keeps them.
TEST(Utf16, FolderNamesInAnyLettersConvertBothWays) {
    using namespace std::string_literals;
    const struct {
        std::u16string wide;
        std::string utf8;
    } names[] = {
        {u"\u0418\u0433\u0440\u044B", "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B"s},
        {u"\u30B2\u30FC\u30E0\u8868", "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0\xE8\xA1\xA8"s},
        {u"\U0001F3AE", "\xF0\x9F\x8E\xAE"s},
        {u"C:\\caf\u00E9", "C:\\caf\xC3\xA9"s},
    };
    for (const auto& name : names) {
        EXPECT_EQ(tk::utf16ToUtf8(name.wide), name.utf8);
        EXPECT_EQ(tk::utf8ToUtf16(name.utf8), name.wide);
        EXPECT_TRUE(tk::isUtf8(name.utf8));
    }
    // A file with a mark, as the settings become when a value needs it.
    EXPECT_EQ(tk::encodeText("k=\xE8\xA1\xA8"s, tk::TextEncoding::utf16le),
              "\xFF\xFEk\0=\0\x68\x88"s);
}

// UTF-16 without a mark is taken for UTF-16 only where its first line leaves
// no doubt; it then decodes as such and encodes back with its mark.
TEST(UnmarkedUtf16, OnlyAnAsciiFirstLineWithItsNulsTells) {
    using namespace std::string_literals;
    const std::string le = "[\0c\0]\0\r\0\n\0k\0=\0\x68\x88"s, be = "\0[\0c\0]\0\n\0k\0=\x88\x68"s;
    EXPECT_EQ(tk::unmarkedUtf16Of(le), tk::TextEncoding::utf16le);
    EXPECT_EQ(tk::unmarkedUtf16Of(be), tk::TextEncoding::utf16be);
    EXPECT_EQ(tk::unmarkedUtf16Of("k\0=\0v\0"s), tk::TextEncoding::utf16le) << "one line, no end";
    EXPECT_EQ(tk::unmarkedUtf16Of("\n\0x"s), tk::TextEncoding::utf16le) << "an odd last byte";
    for (const std::string& other :
         {""s, "[config]\r\nk=v\r\n"s, "x"s, "\0\0\n\0"s, "\x68\x88\n\0"s, "[\0c\0]\0\r\n"s,
          "[\0c\x00\xE9\0\n\0"s, "\xFF\xFE[\0\n\0"s})
        EXPECT_EQ(tk::unmarkedUtf16Of(other), tk::TextEncoding::none) << other;

    tk::MarkedText decoded = tk::decodeTextOrUnmarkedUtf16(le);
    EXPECT_EQ(decoded.encoding, tk::TextEncoding::utf16le);
    EXPECT_EQ(decoded.text, "[c]\r\nk=\xE8\xA1\xA8");
    EXPECT_EQ(tk::encodeText(decoded.text, decoded.encoding), "\xFF\xFE" + le);
    EXPECT_EQ(tk::decodeTextOrUnmarkedUtf16(be).text, "[c]\nk=\xE8\xA1\xA8");
    EXPECT_EQ(tk::decodeText(le).encoding, tk::TextEncoding::none) << "other files keep to marks";
    EXPECT_EQ(tk::encodeText({"k=", "\xE8\xA1\xA8"s, ""}, tk::TextEncoding::utf16be),
              "\xFE\xFF\0k\0=\x88\x68"s);
}
