#include "toolkit/EditorText.h"

#include <gtest/gtest.h>

using tk::editorTextOf;
using tk::withCrLf;

TEST(WithCrLf, EveryKindOfLineBreakBecomesOneCrLf) {
    EXPECT_EQ(withCrLf("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
    // A CR before CR LF is a break of its own; LF CR is two breaks.
    EXPECT_EQ(withCrLf("a\r\r\nb\n\rc"), "a\r\n\r\nb\r\n\r\nc");
    EXPECT_EQ(withCrLf("\n\n"), "\r\n\r\n");
    EXPECT_EQ(withCrLf("\r"), "\r\n");
    EXPECT_EQ(withCrLf("ends without a break"), "ends without a break");
    EXPECT_EQ(withCrLf(""), "");
}

TEST(WithCrLf, EveryOtherByteStaysAsItIs) {
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n')
            bytes += static_cast<char>(byte);
    }
    EXPECT_EQ(withCrLf(bytes), bytes);
}

TEST(EditorText, AUtf8MarkIsKeptAsideAndWrittenBack) {
    auto marked = editorTextOf("\xEF\xBB\xBF#\nrompath roms\n");
    EXPECT_EQ(marked.mark, "\xEF\xBB\xBF");
    EXPECT_EQ(marked.text, "#\r\nrompath roms\r\n");
    EXPECT_EQ(tk::fileBytesOf(marked), "\xEF\xBB\xBF#\r\nrompath roms\r\n");

    // Only a whole mark at the very start is one.
    for (const std::string& unmarked :
         {std::string("\xEF\xBB"), std::string("x\xEF\xBB\xBF"), std::string("\xBB\xBF\xEF")}) {
        auto plain = editorTextOf(unmarked);
        EXPECT_EQ(plain.mark, "");
        EXPECT_EQ(plain.text, unmarked);
    }
    auto onlyMark = editorTextOf("\xEF\xBB\xBF");
    EXPECT_EQ(onlyMark.mark, "\xEF\xBB\xBF");
    EXPECT_EQ(onlyMark.text, "");
}
