#include "ui/EditorText.h"

#include <gtest/gtest.h>

using ui::editorTextOf;
using ui::withCrLf;

TEST(WithCrLf, EveryKindOfLineBreakBecomesOneCrLf) {
    EXPECT_EQ(ui::withCrLf("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
    // A CR before CR LF is a break of its own; LF CR is two breaks.
    EXPECT_EQ(ui::withCrLf("a\r\r\nb\n\rc"), "a\r\n\r\nb\r\n\r\nc");
    EXPECT_EQ(ui::withCrLf("\n\n"), "\r\n\r\n");
    EXPECT_EQ(ui::withCrLf("\r"), "\r\n");
    EXPECT_EQ(ui::withCrLf("ends without a break"), "ends without a break");
    EXPECT_EQ(ui::withCrLf(""), "");
}

TEST(WithCrLf, EveryOtherByteStaysAsItIs) {
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n')
            bytes += static_cast<char>(byte);
    }
    EXPECT_EQ(ui::withCrLf(bytes), bytes);
}

TEST(EditorText, AUtf8MarkIsKeptAsideAndWrittenBack) {
    auto marked = editorTextOf("\xEF\xBB\xBF#\nrompath roms\n");
    EXPECT_EQ(marked.form.mark, tk::TextEncoding::utf8);
    EXPECT_TRUE(marked.form.unicode);
    EXPECT_EQ(marked.text, "#\r\nrompath roms\r\n");
    EXPECT_EQ(ui::fileBytesOf(marked), "\xEF\xBB\xBF#\r\nrompath roms\r\n");

    // Only a whole mark at the very start is one.
    for (const std::string& unmarked :
         {std::string("\xEF\xBB"), std::string("x\xEF\xBB\xBF"), std::string("\xBB\xBF\xEF")}) {
        auto plain = editorTextOf(unmarked);
        EXPECT_EQ(plain.form.mark, tk::TextEncoding::none);
        EXPECT_EQ(plain.text, unmarked);
        EXPECT_EQ(ui::fileBytesOf(plain), unmarked);
    }
    auto onlyMark = editorTextOf("\xEF\xBB\xBF");
    EXPECT_EQ(onlyMark.form.mark, tk::TextEncoding::utf8);
    EXPECT_EQ(onlyMark.text, "");
}

TEST(EditorText, WellFormedUtf8IsUnicodeAndAnythingElseStaysInTheCodePage) {
    auto utf8 = editorTextOf("rompath C:\\Jeux\\R\xC3\xA9tro\n");
    EXPECT_EQ(utf8.form.mark, tk::TextEncoding::none);
    EXPECT_TRUE(utf8.form.unicode);
    EXPECT_EQ(utf8.text, "rompath C:\\Jeux\\R\xC3\xA9tro\r\n");
    EXPECT_EQ(ui::fileBytesOf(utf8), "rompath C:\\Jeux\\R\xC3\xA9tro\r\n") << "no mark added";

    auto codePage = editorTextOf("rompath C:\\Jeux\\R\xE9tro\r\nsamplepath \xC3\xA9\r\n");
    EXPECT_FALSE(codePage.form.unicode) << "one byte that is no UTF-8 decides for the whole file";
    EXPECT_EQ(codePage.text, "rompath C:\\Jeux\\R\xE9tro\r\nsamplepath \xC3\xA9\r\n");
    EXPECT_EQ(ui::fileBytesOf(codePage), codePage.text);
}

TEST(EditorText, LinesOfAMarkedFileComeBackByteForByteAroundAnEdit) {
    const std::string untouched = "rompath C:\\Caf\xE9;D:\\R\xC3\xA9tro \xCE\xB2\xFF";
    auto loaded = editorTextOf("\xEF\xBB\xBF# mame.ini\r\n" + untouched + "\r\nreadconfig 1\r\n");
    ASSERT_TRUE(loaded.form.unicode);
    // The editor changes the last line; the text goes through UTF-16 there.
    std::u16string shown = tk::utf8ToUtf16(loaded.text);
    shown.replace(shown.size() - 3, 1, u"0 \u00E9\u03B2");
    loaded.text = tk::utf16ToUtf8(shown);
    EXPECT_EQ(ui::fileBytesOf(loaded),
              "\xEF\xBB\xBF# mame.ini\r\n" + untouched + "\r\nreadconfig 0 \xC3\xA9\xCE\xB2\r\n");
}

TEST(EditorText, Utf16FilesAreShownAsTextAndWrittenBackInUtf16) {
    using namespace std::string_literals;
    const std::string file = "\xFF\xFEr\0=\0\xB2\x03\n\0\x00\xDC"s;
    auto loaded = editorTextOf(file);
    EXPECT_EQ(loaded.form.mark, tk::TextEncoding::utf16le);
    EXPECT_EQ(loaded.text, "r=\xCE\xB2\r\n\xED\xB0\x80");
    EXPECT_EQ(ui::fileBytesOf(loaded), "\xFF\xFEr\0=\0\xB2\x03\r\0\n\0\x00\xDC"s)
        << "CR LF, and the lone half as it was";
}
