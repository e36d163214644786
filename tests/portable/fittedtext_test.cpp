// A text shortened for a place on the screen, measured here by a stand-in for
// a message box: lines wrapped at blanks within a number of columns (a word
// wider than that does not fit at all), and a number of rows in all.
#include "toolkit/text/FittedText.h"
#include "toolkit/text/TextEncoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct Box {
    std::size_t columns;
    std::size_t rows;

    bool holds(std::string_view text) const {
        std::size_t used = 0;
        std::size_t rowCount = 1;
        for (std::size_t at = 0; at <= text.size();) {
            std::size_t end = std::min(text.find_first_of(" \n", at), text.size());
            std::size_t word = end - at;
            if (word > columns)
                return false;
            if (used > 0 && used + 1 + word > columns) {
                ++rowCount;
                used = word;
            } else {
                used += (used > 0 ? 1 : 0) + word;
            }
            if (end < text.size() && text[end] == '\n') {
                ++rowCount;
                used = 0;
            }
            at = end + 1;
        }
        return rowCount <= rows;
    }

    std::string fitted(std::string_view text) const {
        return tk::fittedText(text, [this](std::string_view part) { return holds(part); });
    }
};

std::string words(const std::string& word, int times) {
    std::string text = word;
    for (int i = 1; i < times; ++i)
        text += " " + word;
    return text;
}

// Whether `part` is the first (or last) of the characters, each whole.
bool wholeCharacters(std::string_view part, const std::vector<std::string>& characters,
                     bool first) {
    std::string whole;
    for (std::size_t i = 0; whole.size() < part.size() && i < characters.size(); ++i)
        whole.insert(first ? whole.size() : 0, characters[first ? i : characters.size() - 1 - i]);
    return whole == part;
}

} // namespace

TEST(FittedText, LongLinesLoseTheirMiddleBetweenCharactersNoMoreThanNeeded) {
    const Box box{40, 12};
    const std::string reason = "\n\nMAME said:\nFatal error: files are missing.";
    const std::string fits = "Pac-Man (pacman): MAME ended." + reason;
    EXPECT_EQ(box.fitted(fits), fits);

    std::string fitted = box.fitted("Pac-Man " + words("long", 400) + " (pacman): ended." + reason);
    EXPECT_TRUE(box.holds(fitted)) << fitted;
    EXPECT_TRUE(fitted.starts_with("Pac-Man long long")) << fitted;
    EXPECT_TRUE(fitted.ends_with("long (pacman): ended." + reason)) << fitted;
    EXPECT_NE(fitted.find("..."), std::string::npos);
    // The first line has nine rows beside the other three, and fills eight.
    EXPECT_GT(fitted.find('\n'), 8u * 36) << fitted;

    fitted = box.fitted(words("\xC3\xA9t\xC3\xA9", 300) + " " + words("\xF0\x9F\x8E\xAE", 300));
    EXPECT_TRUE(box.holds(fitted)) << fitted;
    EXPECT_TRUE(tk::isUtf8(fitted)) << fitted;

    fitted = box.fitted("Cannot start C:\\" + std::string(500, 'F') + "\\mame.exe: not found.");
    EXPECT_TRUE(box.holds(fitted)) << "a word too wide is cut too: " << fitted;
    EXPECT_TRUE(fitted.starts_with("Cannot start C:\\FFF")) << fitted;
    EXPECT_TRUE(fitted.ends_with("FFF\\mame.exe: not found.")) << fitted;
}

TEST(FittedText, TooManyLinesKeepTheFirstAndAsManyOfTheLastAsFit) {
    std::string text = "Too many lines:";
    for (int i = 0; i < 100; ++i)
        text += "\nline " + std::to_string(i);
    EXPECT_EQ((Box{40, 6}.fitted(text)),
              "Too many lines:\n...\nline 96\nline 97\nline 98\nline 99");

    // No cut of the lines makes them few enough.
    const Box low{40, 5};
    std::string fitted =
        low.fitted(words("word", 40) + "\n" + words("middle", 40) + "\n" + words("end", 40));
    EXPECT_TRUE(low.holds(fitted)) << fitted;
    EXPECT_TRUE(fitted.starts_with("word word")) << fitted;
    EXPECT_TRUE(fitted.ends_with("end end")) << fitted;
    EXPECT_EQ(fitted.find("middle"), std::string::npos) << fitted;

    EXPECT_EQ((Box{5, 1}.fitted("first\nthe last line of all, far too long for the box, cut in "
                                "its middle")),
              "the last line of all...x, cut in its middle")
        << "when nothing fits, what remains is the end of the last line";
}

// Characters of several code points each: accents, flags, a family joined by
// joiners, a skin tone, an emoji presentation, a Hangul syllable in its
// parts, a Devanagari vowel sign.
TEST(FittedText, CutsKeepEveryCharacterAReaderSeesWhole) {
    const char* const kinds[] = {
        "e\xCC\x81",
        "\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7",
        "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7",
        "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD",
        "\xE2\x9D\xA4\xEF\xB8\x8F",
        "\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB",
        "\xE0\xA4\x95\xE0\xA4\xBF",
        "o\xCC\x88\xCC\xB1",
        "x"};
    std::vector<std::string> characters;
    std::string line;
    for (std::size_t i = 0; i < 45; ++i) {
        characters.push_back(kinds[i * 7 % std::size(kinds)]);
        line += characters.back();
    }
    for (std::size_t limit = 3; limit < line.size(); ++limit) {
        std::string fitted =
            tk::fittedText(line, [&](std::string_view text) { return text.size() <= limit; });
        std::size_t gap = fitted.find("...");
        ASSERT_NE(gap, std::string::npos) << limit;
        std::string_view cut = fitted;
        EXPECT_TRUE(wholeCharacters(cut.substr(0, gap), characters, true) &&
                    wholeCharacters(cut.substr(gap + 3), characters, false))
            << limit << ": " << fitted;
    }
}
