#include "catalogue/GameIndex.h"
#include "catalogue/KeyLines.h"
#include "catalogue/LookupKey.h"
#include "toolkit/Error.h"
#include "toolkit/Handles.h"

#include "support/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>

using catalogue::LookupKey;

using testing_support::errorOf;

namespace {

class KeyFile : public ::testing::Test {
protected:
    void write(const std::string& content) { testing_support::writeFile(path, content); }
    std::string lookupIn(const std::string& content, const std::string& key) {
        write(content);
        return LookupKey(key, path);
    }

    testing_support::TempFolder folder{"keston-lookup"};
    std::string path = folder.file("mame.ini");
};

TEST_F(KeyFile, TheFirstWordMustEqualTheKeyUpToTheFirstBlank) {
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

TEST_F(KeyFile, OnlyTheLettersAToZAreFoldedForComparison) {
    EXPECT_EQ(lookupIn("GAME_1 one\r\n", "game_1"), "one");
    EXPECT_EQ(lookupIn("\xc9t\xc9 summer\r\n", "\xe9t\xe9"), "");
    EXPECT_EQ(lookupIn("\xe9t\xe9 summer\r\n", "\xe9T\xe9"), "summer");
    EXPECT_EQ(lookupIn("[ brackets\r\n", "{"), "");
}

TEST_F(KeyFile, TheFirstMatchingLineEndsTheSearchEvenWithAnEmptyValue) {
    EXPECT_EQ(lookupIn("rompath a\r\nrompath b\r\n", "rompath"), "a");
    EXPECT_EQ(lookupIn("rompath\r\nrompath roms\r\n", "rompath"), "roms");
    EXPECT_EQ(lookupIn("rompath \r\nrompath roms\r\n", "rompath"), "");
    EXPECT_EQ(lookupIn("rompath     \r\nrompath roms\r\n", "rompath"), "");
    EXPECT_EQ(lookupIn("\r\n\r\nrompath roms", "rompath"), "roms");
}

TEST_F(KeyFile, TheValueKeepsTrailingBlanksButNotTheLineEnd) {
    EXPECT_EQ(lookupIn("rompath C:\\roms  \r\nx y\r\n", "rompath"), "C:\\roms  ");
    EXPECT_EQ(lookupIn("rompath  a b \t", "rompath"), "a b \t");
}

TEST_F(KeyFile, LinesEndAtCrLfAtALoneLfAndAtALoneCr) {
    const std::string mixed = "a 1\nb 2\rc 3\r\nd 4\n\re 5\r\r\nf 6";
    EXPECT_EQ(lookupIn(mixed, "a"), "1");
    EXPECT_EQ(lookupIn(mixed, "b"), "2");
    EXPECT_EQ(lookupIn(mixed, "c"), "3");
    EXPECT_EQ(lookupIn(mixed, "d"), "4");
    EXPECT_EQ(lookupIn(mixed, "e"), "5");
    EXPECT_EQ(lookupIn(mixed, "f"), "6");
}

TEST_F(KeyFile, AFileWithAByteOrderMarkIsReadInItsEncoding) {
    // MAME writes its ini with a UTF-8 mark; editors save in UTF-16 with one.
    EXPECT_EQ(lookupIn("\xEF\xBB\xBFrompath roms\r\n", "rompath"), "roms");
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (char c : std::string("rompath C:\\roms\r\n")) {
        little += std::string{c, '\0'};
        big += std::string{'\0', c};
    }
    EXPECT_EQ(lookupIn(little, "rompath"), "C:\\roms");
    EXPECT_EQ(lookupIn(big, "rompath"), "C:\\roms");
    if (GetACP() == 1252) {
        EXPECT_EQ(lookupIn("\xEF\xBB\xBFrompath caf\xC3\xA9\r\n", "rompath"), "caf\xE9");
    }
}

TEST_F(KeyFile, LinesAcrossTheReadingBufferAreWhole) {
    // The reader takes the file in pieces of 64 KiB: a CR LF cut between two
    // pieces must not leave an extra line, and a line cut between them must
    // come back whole.
    std::string filler = "filler " + std::string(65536 - 8, 'x') + "\r";
    ASSERT_EQ(filler.size(), 65536u);
    std::string content = filler + "\nrompath roms\r\nsplit" + std::string(70000, 'y') + " end";
    EXPECT_EQ(lookupIn(content, "rompath"), "roms");
    EXPECT_EQ(lookupIn(content, "split" + std::string(70000, 'y')), "end");
}

TEST_F(KeyFile, FailuresAreInputOutputErrorsNamedByTheSystemsNumber) {
    EXPECT_EQ(errorOf([&] { LookupKey("rompath", path); }), "File not found");
    EXPECT_EQ(errorOf([&] { LookupKey("rompath", folder.file("none\\mame.ini")); }),
              "Invalid filename");
    std::filesystem::create_directories(path);
    EXPECT_EQ(errorOf([&] { LookupKey("rompath", path); }), "File access denied");
    std::filesystem::remove(path);

    write("rompath roms\r\n");
    {
        tk::FileHandle held(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(errorOf([&] { LookupKey("rompath", path); }), "I/O error 32");
        EXPECT_EQ(errorOf([&] { catalogue::GameIndex(path).lookup("rompath"); }), "I/O error 32");
    }
    EXPECT_EQ(LookupKey("rompath", path), "roms");
    write("");
    EXPECT_EQ(LookupKey("rompath", path), "");
    EXPECT_EQ(LookupKey("", path), "");
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

TEST_F(KeyFile, TheIndexAnswersExactlyAsTheSequentialLookup) {
    std::vector<std::string> keys = {"pacman", "PacMan", "galaga",    "GALAGA",    "empty",
                                     "",       " ",      "leading",   "tab",       "tab\t\"Tab\"",
                                     "eq",     "eq=",    "\xe9t\xe9", "\xc9t\xc9", "\xc9T\xc9",
                                     "trail",  "a.b",    "a",         "mixedcase", "MIXEDCASE",
                                     "last",   "LAST",   "name:",     "Name:",     "MAME",
                                     "absent", "pac",    "pacmanx",   "0.251",     "listing"};
    for (const char* ending : {"", "\r\n", "\r", "\n"}) {
        write(std::string(trickyText) + ending);
        catalogue::GameIndex index(path);
        for (const std::string& key : keys)
            EXPECT_EQ(index.lookup(key), LookupKey(key, path))
                << "key \"" << key << "\", text ending " << std::string_view(ending).size();
    }
    // Values the two must agree on, spelled out so that agreeing on a wrong
    // answer cannot pass.
    catalogue::GameIndex index(path);
    EXPECT_EQ(index.lookup("PACMAN"), "\"Pac-Man (Midway)\"");
    EXPECT_EQ(index.lookup("galaga"), "\"Galaga\"");
    EXPECT_EQ(index.lookup("empty"), "");
    EXPECT_EQ(index.lookup(""), "leading blank");
    EXPECT_EQ(index.lookup("tab"), "");
    EXPECT_EQ(index.lookup("\xc9T\xc9"), "\"capital accent\"");
    EXPECT_EQ(index.lookup("trail"), "\"Trail\"   ");
    EXPECT_EQ(index.lookup("last"), "\"no line end\"");
}

TEST_F(KeyFile, TheIndexReadsTheFileAtTheFirstLookupAndRaisesItsErrorThere) {
    catalogue::GameIndex index(path);
    EXPECT_EQ(errorOf([&] { index.lookup("pacman"); }), "File not found");
    write("pacman \"Pac-Man\"\r\n");
    EXPECT_EQ(index.lookup("pacman"), "\"Pac-Man\"");
    write("pacman \"changed\"\r\n");
    EXPECT_EQ(index.lookup("pacman"), "\"Pac-Man\"") << "read once per index";

    catalogue::GameIndex empty(path);
    write("");
    EXPECT_EQ(empty.lookup("pacman"), "");
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
