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

TEST(TypedPrefix, TheSameLetterAgainWalksOnFromTheSelectedRow) {
    TypedPrefix typed(1000);
    auto type = [&](char16_t unit, std::uint32_t time) {
        const RowSearch& search = typed.type(unit, time);
        return std::pair(search.text, search.from);
    };
    EXPECT_EQ(type(u's', 100), std::pair(std::u16string(u"s"), From::top));
    EXPECT_EQ(type(u's', 200), std::pair(std::u16string(u"s"), From::next));
    EXPECT_EQ(type(u's', 300), std::pair(std::u16string(u"s"), From::next));
    EXPECT_EQ(type(u'a', 400), std::pair(std::u16string(u"sssa"), From::top))
        << "another letter makes the text whole again";
    EXPECT_EQ(type(u's', 2000), std::pair(std::u16string(u"s"), From::top)) << "after a pause";
    EXPECT_EQ(type(u'p', 2100), std::pair(std::u16string(u"sp"), From::top));
    EXPECT_EQ(typed.erase(2200).from, From::top);

    // Taken back to a repeat, the text is the letter, looked for from the top.
    typed.type(u'o', 5000);
    typed.type(u'o', 5100);
    typed.type(u'k', 5200);
    const RowSearch& erased = typed.erase(5300);
    EXPECT_EQ(erased.text, u"o");
    EXPECT_EQ(erased.from, From::top);
}

TEST(TypedPrefix, F3LooksForTheLastTextAgainWhateverThePause) {
    TypedPrefix typed(1000);
    EXPECT_EQ(typed.again(false).text, u"") << "nothing typed: nothing to look for";
    typed.type(u'm', 100);
    typed.type(u'k', 200);
    RowSearch next = typed.again(false), previous = typed.again(true);
    EXPECT_EQ(next.text, u"mk");
    EXPECT_EQ(next.from, From::next);
    EXPECT_EQ(previous.text, u"mk");
    EXPECT_EQ(previous.from, From::previous);
    EXPECT_EQ(typed.type(u'2', 900).text, u"mk2") << "F3 leaves the text being typed";
    typed.type(u'z', 5000);
    typed.type(u'z', 5100);
    EXPECT_EQ(typed.again(false).text, u"z") << "a walk's letter";
}

TEST(TypedPrefix, AMissIsHeardOncePerText) {
    TypedPrefix typed(1000);
    typed.type(u'x', 100);
    EXPECT_TRUE(typed.signalsMiss(false));
    typed.type(u'q', 200);
    EXPECT_FALSE(typed.signalsMiss(false)) << "a longer text after a miss misses too";
    typed.again(false);
    EXPECT_FALSE(typed.signalsMiss(false)) << "the same text looked for again";
    typed.type(u'p', 3000);
    EXPECT_FALSE(typed.signalsMiss(true));
    typed.type(u'q', 3100);
    EXPECT_TRUE(typed.signalsMiss(false)) << "a new miss after a find";
    typed.type(u'a', 6000);
    EXPECT_TRUE(typed.signalsMiss(false)) << "a new text, not the last one made longer";
}
