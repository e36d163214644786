// Type-to-find: the pause between the key messages' own times decides whether
// a letter extends the text or starts a new one; a repeated letter, F3 and
// Shift+F3 move on from the selected row; a miss is heard once.
#include "toolkit/text/TypedPrefix.h"

#include <gtest/gtest.h>

using tk::RowSearch;
using tk::TypedPrefix;
using From = RowSearch::From;

TEST(TypedPrefix, LettersWithinThePauseExtendAndALongerPauseStartsAnew) {
    TypedPrefix typed(1000);
    EXPECT_EQ(typed.type(u'p', 5000).text, u"p");
    EXPECT_EQ(typed.type(u'o', 5400).text, u"po");
    EXPECT_EQ(typed.type(u'n', 6400).text, u"pon") << "exactly the pause still extends";
    EXPECT_EQ(typed.type(u'g', 7401).text, u"g") << "a millisecond more starts anew";
    // The pause runs from the last key, not from the first of the prefix.
    for (std::uint32_t time = 9000; time < 13000; time += 900)
        typed.type(u'x', time);
    EXPECT_EQ(typed.prefix(), u"xxxxx");
}

TEST(TypedPrefix, TheMessageClockMayWrap) {
    TypedPrefix typed(1000);
    typed.type(u'p', 0xFFFFFF00u);
    EXPECT_EQ(typed.type(u'o', 0x00000100u).text, u"po") << "512 ms across the wrap";
    EXPECT_EQ(typed.type(u'n', 0x00000050u).text, u"n") << "a time before the last is no extension";
}

TEST(TypedPrefix, BackspaceShortensByOneCharacterAndKeepsThePrefixGoing) {
    TypedPrefix typed(1000);
    typed.type(u'p', 100);
    typed.type(u'o', 200);
    typed.type(u'x', 300);
    EXPECT_EQ(typed.erase(400).text, u"po");
    EXPECT_EQ(typed.type(u'n', 1300).text, u"pon") << "the pause counts from the Backspace";
    EXPECT_EQ(typed.erase(1400).text, u"po");
    EXPECT_EQ(typed.erase(1500).text, u"p");
    EXPECT_EQ(typed.erase(1600).text, u"");
    EXPECT_EQ(typed.erase(1700).text, u"") << "nothing left to take";

    // A character beyond the first plane is two units, typed and erased whole.
    typed.type(u'a', 5000);
    typed.type(0xD83D, 5100);
    EXPECT_EQ(typed.type(0xDE00, 9000).text, u"a\U0001F600") << "its second half never starts anew";
    EXPECT_EQ(typed.erase(9100).text, u"a");
}

TEST(TypedPrefix, TheSameLetterAgainWalksOnAndF3LooksAgainFromTheNextOrPreviousRow) {
    TypedPrefix typed(1000);
    EXPECT_EQ(typed.again(false).text, u"") << "nothing typed: nothing to look for";
    EXPECT_EQ(typed.type(u's', 100).from, From::top);
    for (std::uint32_t time : {200u, 300u}) {
        const RowSearch& walk = typed.type(u's', time);
        EXPECT_EQ(walk.text, u"s");
        EXPECT_EQ(walk.from, From::next);
    }
    EXPECT_EQ(typed.again(true).text, u"s") << "a walk's letter";
    EXPECT_EQ(typed.again(true).from, From::previous);
    EXPECT_EQ(typed.erase(400).from, From::top) << "taken back to a repeat: from the top";
    const RowSearch& whole = typed.type(u'a', 500);
    EXPECT_EQ(whole.text, u"ssa") << "another letter makes the text whole again";
    EXPECT_EQ(whole.from, From::top);
    EXPECT_EQ(typed.again(false).text, u"ssa");
    EXPECT_EQ(typed.type(u'm', 1400).text, u"ssam") << "F3 leaves the text being typed";
    EXPECT_EQ(typed.type(u's', 3000).from, From::top) << "after a pause";
}

TEST(TypedPrefix, AMissIsHeardOncePerText) {
    TypedPrefix typed(1000);
    typed.type(u'x', 100);
    EXPECT_TRUE(typed.signalsMiss(false));
    typed.type(u'q', 200);
    EXPECT_FALSE(typed.signalsMiss(false)) << "a longer text after a miss misses too";
    EXPECT_FALSE(typed.signalsMiss(false)) << "the same text looked for again";
    typed.type(u'p', 3000);
    EXPECT_FALSE(typed.signalsMiss(true));
    typed.type(u'q', 3100);
    EXPECT_TRUE(typed.signalsMiss(false)) << "a new miss after a find";
    typed.type(u'a', 6000);
    EXPECT_TRUE(typed.signalsMiss(false)) << "a new text, not the last one made longer";
}
