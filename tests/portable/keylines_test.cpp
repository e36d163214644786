#include "catalogue/KeyIndex.h"
#include "catalogue/KeyLines.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

// The value of the key's line by the sequential search, which the index must
// give as well.
std::string lookupIn(const std::string& text, const std::string& key) {
    std::string value = catalogue::lookupKeyInText(key, text);
    EXPECT_EQ(catalogue::KeyIndex(text).lookup(key), value) << "key \"" << key << "\"";
    return value;
}

TEST(KeyText, TheFirstWordMustEqualTheKeyUpToTheFirstBlank) {
    EXPECT_EQ(lookupIn("rompath                   roms\r\n", "rompath"), "roms");
    EXPECT_EQ(lookupIn("ROMPATH roms\r\n", "rompath"), "roms");
    EXPECT_EQ(lookupIn("rompath roms\r\n", "RomPath"), "roms");
    EXPECT_EQ(lookupIn("rompathx roms\r\n", "rompath"), "");
    EXPECT_EQ(lookupIn("rompath roms\r\n", "rom"), "");
    EXPECT_EQ(lookupIn("rompath\troms\r\nrompath\troms x\r\n", "rompath"), "");
    EXPECT_EQ(lookupIn("rompath= roms\r\n", "rompath"), "");
    EXPECT_EQ(lookupIn("rompath = roms\r\n", "rompath"), "= roms");
    EXPECT_EQ(lookupIn("pacman   \"Pac-Man (Midway)\"\r\n", "pacman"), "\"Pac-Man (Midway)\"");
    // A line starting with a blank has an empty first word: only the empty key
    // finds it, and a key holding a blank never matches.
    EXPECT_EQ(lookupIn("no-blank\r\n  lead value\r\nx y\r\n", ""), "lead value");
    EXPECT_EQ(lookupIn("x y\r\n", ""), "");
    EXPECT_EQ(lookupIn("my game \"My Game\"\r\n", "my game"), "");
}

TEST(KeyText, OnlyTheLettersAToZAreFoldedForComparison) {
    EXPECT_EQ(lookupIn("GAME_1 one\r\n", "game_1"), "one");
    EXPECT_EQ(lookupIn("\xc9t\xc9 summer\r\n", "\xe9t\xe9"), "");
    EXPECT_EQ(lookupIn("\xe9t\xe9 summer\r\n", "\xe9T\xe9"), "summer");
    EXPECT_EQ(lookupIn("[ brackets\r\n", "{"), "");
}

TEST(KeyText, TheFirstMatchingLineEndsTheSearchEvenWithAnEmptyValue) {
    EXPECT_EQ(lookupIn("rompath a\r\nrompath b\r\n", "rompath"), "a");
    EXPECT_EQ(lookupIn("rompath\r\nrompath roms\r\n", "rompath"), "roms");
    EXPECT_EQ(lookupIn("rompath \r\nrompath roms\r\n", "rompath"), "");
    EXPECT_EQ(lookupIn("rompath     \r\nrompath roms\r\n", "rompath"), "");
    EXPECT_EQ(lookupIn("\r\n\r\nrompath roms", "rompath"), "roms");
}

TEST(KeyText, TheValueKeepsTrailingBlanksButNotTheLineEnd) {
    EXPECT_EQ(lookupIn("rompath C:\\roms  \r\nx y\r\n", "rompath"), "C:\\roms  ");
    EXPECT_EQ(lookupIn("rompath  a b \t", "rompath"), "a b \t");
}

TEST(KeyText, LinesEndAtCrLfAtALoneLfAndAtALoneCr) {
    const std::string mixed = "a 1\nb 2\rc 3\r\nd 4\n\re 5\r\r\nf 6";
    EXPECT_EQ(lookupIn(mixed, "a"), "1");
    EXPECT_EQ(lookupIn(mixed, "b"), "2");
    EXPECT_EQ(lookupIn(mixed, "c"), "3");
    EXPECT_EQ(lookupIn(mixed, "d"), "4");
    EXPECT_EQ(lookupIn(mixed, "e"), "5");
    EXPECT_EQ(lookupIn(mixed, "f"), "6");
    // Counted as an editor shows them: CR LF ends one line, LF CR two.
    EXPECT_EQ(catalogue::keyLineInText("c", mixed).line, 3u);
    EXPECT_EQ(catalogue::keyLineInText("f", mixed).line, 8u);
    EXPECT_EQ(catalogue::keyLineInText("g", mixed).line, 0u);
}

// Lines that each rule of the lookup decides differently.
const char trickyText[] = "MAME 0.251 listing\r\n"
                          "Name:     Description:\n"
                          "pacman   \"Pac-Man (Midway)\"\r\n"
                          "PACMAN   \"second pacman\"\r\n"
                          "galaga\r\n"
                          "galaga   \"Galaga\"\r"
                          "empty \r\n"
                          "empty    \"later value\"\n"
                          "  leading blank\r\n"
                          "  another leading\r\n"
                          "tab\t\"Tab\"\r\n"
                          "eq= \"Eq\"\r\n"
                          "\xe9t\xe9 \"accent\"\r\n"
                          "\xc9T\xc9 \"capital accent\"\r\n"
                          "trail  \"Trail\"   \r\n"
                          "\r\n"
                          "a.b \"dotted\"\r\n"
                          "mixedCase \"Mixed\"\n\r"
                          "last \"no line end\"";

TEST(KeyText, TheIndexAnswersExactlyAsTheSequentialLookup) {
    std::vector<std::string> keys = {"pacman", "PacMan", "galaga",    "GALAGA",    "empty",
                                     "",       " ",      "leading",   "tab",       "tab\t\"Tab\"",
                                     "eq",     "eq=",    "\xe9t\xe9", "\xc9t\xc9", "\xc9T\xc9",
                                     "trail",  "a.b",    "a",         "mixedcase", "MIXEDCASE",
                                     "last",   "LAST",   "name:",     "Name:",     "MAME",
                                     "absent", "pac",    "pacmanx",   "0.251",     "listing"};
    for (const char* ending : {"", "\r\n", "\r", "\n"}) {
        const std::string text = std::string(trickyText) + ending;
        catalogue::KeyIndex index(text);
        for (const std::string& key : keys)
            EXPECT_EQ(index.lookup(key), catalogue::lookupKeyInText(key, text))
                << "key \"" << key << "\", text ending " << std::string_view(ending).size();
    }
    // Values the two must agree on, spelled out so that agreeing on a wrong
    // answer cannot pass.
    catalogue::KeyIndex index(trickyText);
    EXPECT_EQ(index.lookup("PACMAN"), "\"Pac-Man (Midway)\"");
    EXPECT_EQ(index.lookup("galaga"), "\"Galaga\"");
    EXPECT_EQ(index.lookup("empty"), "");
    EXPECT_EQ(index.lookup(""), "leading blank");
    EXPECT_EQ(index.lookup("tab"), "");
    EXPECT_EQ(index.lookup("\xc9T\xc9"), "\"capital accent\"");
    EXPECT_EQ(index.lookup("trail"), "\"Trail\"   ");
    EXPECT_EQ(index.lookup("last"), "\"no line end\"");
}

TEST(KeyText, TheIndexHoldsOneEntryPerFirstWordOfALargeList) {
    std::string text = "Name:     Description:\n";
    for (int i = 0; i < 50000; ++i)
        text += "game" + std::to_string(i) + "    \"Game number " + std::to_string(i) + "\"\n";
    catalogue::KeyIndex index(text);
    EXPECT_EQ(index.size(), 50001u);
    EXPECT_EQ(index.lookup("GAME0"), "\"Game number 0\"");
    EXPECT_EQ(index.lookup("game49999"), "\"Game number 49999\"");
    EXPECT_EQ(index.lookup("game50000"), "");
    EXPECT_EQ(catalogue::lookupKeyInText("game31337", text), "\"Game number 31337\"");
}

} // namespace
