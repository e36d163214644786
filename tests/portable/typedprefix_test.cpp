// Type-to-find timing: the pause between the key messages' own times decides
// whether a letter extends the prefix or starts a new one.
#include "toolkit/text/TypedPrefix.h"

#include <gtest/gtest.h>

using tk::TypedPrefix;

TEST(TypedPrefix, LettersWithinThePauseExtendAndALongerPauseStartsAnew) {
    TypedPrefix typed(1000);
    EXPECT_EQ(typed.type(u'p', 5000), u"p");
    EXPECT_EQ(typed.type(u'o', 5400), u"po");
    EXPECT_EQ(typed.type(u'n', 6400), u"pon") << "exactly the pause still extends";
    EXPECT_EQ(typed.type(u'g', 7401), u"g") << "a millisecond more starts anew";
    // The pause runs from the last key, not from the first of the prefix.
    for (std::uint32_t time = 9000; time < 13000; time += 900)
        typed.type(u'x', time);
    EXPECT_EQ(typed.prefix(), u"xxxxx");
}

TEST(TypedPrefix, TheMessageClockMayWrap) {
    TypedPrefix typed(1000);
    typed.type(u'p', 0xFFFFFF00u);
    EXPECT_EQ(typed.type(u'o', 0x00000100u), u"po") << "512 ms across the wrap";
    EXPECT_EQ(typed.type(u'n', 0x00000050u), u"n") << "a time before the last is no extension";
}

TEST(TypedPrefix, BackspaceShortensByOneCharacterAndKeepsThePrefixGoing) {
    TypedPrefix typed(1000);
    typed.type(u'p', 100);
    typed.type(u'o', 200);
    typed.type(u'x', 300);
    EXPECT_EQ(typed.erase(400), u"po");
    EXPECT_EQ(typed.type(u'n', 1300), u"pon") << "the pause counts from the Backspace";
    EXPECT_EQ(typed.erase(1400), u"po");
    EXPECT_EQ(typed.erase(1500), u"p");
    EXPECT_EQ(typed.erase(1600), u"");
    EXPECT_EQ(typed.erase(1700), u"") << "nothing left to take";

    // A character beyond the first plane is two units, typed and erased whole.
    typed.type(u'a', 5000);
    typed.type(0xD83D, 5100);
    EXPECT_EQ(typed.type(0xDE00, 9000), u"a\U0001F600") << "its second half never starts anew";
    EXPECT_EQ(typed.erase(9100), u"a");
}
