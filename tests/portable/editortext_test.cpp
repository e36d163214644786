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
    auto marked = ui::editorTextOf("\xEF\xBB\xBF#\nrompath roms\n");
    EXPECT_EQ(marked.mark, "\xEF\xBB\xBF");
    EXPECT_EQ(marked.text, "#\r\nrompath roms\r\n");
    EXPECT_EQ(ui::fileBytesOf(marked), "\xEF\xBB\xBF#\r\nrompath roms\r\n");

    // Only a whole mark at the very start is one.
    for (const std::string& unmarked :
         {std::string("\xEF\xBB"), std::string("x\xEF\xBB\xBF"), std::string("\xBB\xBF\xEF")}) {
        auto plain = ui::editorTextOf(unmarked);
        EXPECT_EQ(plain.mark, "");
        EXPECT_EQ(plain.text, unmarked);
    }
    auto onlyMark = ui::editorTextOf("\xEF\xBB\xBF");
    EXPECT_EQ(onlyMark.mark, "\xEF\xBB\xBF");
    EXPECT_EQ(onlyMark.text, "");
}
