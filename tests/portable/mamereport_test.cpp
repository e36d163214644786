// The message for a game MAME ended with an error: MAME's real outputs of
// MAME 0.251 for a missing ROM set, an unknown system and a bad parameter,
// and the bounded tail the output is kept in.
#include "launch/MameReport.h"

#include <gtest/gtest.h>

using launch::reasonLines;
using Lines = std::vector<std::string>;

namespace {

std::string notFound(const char* file) {
    return std::string(file) + " NOT FOUND (tried in pacman puckman)";
}

const std::string missingFiles =
    "error: XDG_RUNTIME_DIR is invalid or not set in the environment.\n"
    "unzip: roms/pacman.zip couldn't find ECD\n"
    "unzip: roms/pacman.zip couldn't find ECD\n" +
    notFound("pacman.6e") + "\n" + notFound("pacman.6f") + "\n" + notFound("pacman.6h") + "\n" +
    notFound("pacman.6j") + "\n" + notFound("pacman.5e") + "\n" + notFound("pacman.5f") + "\n" +
    notFound("82s123.7f") + "\n" + notFound("82s126.4a") + "\n" + notFound("82s126.1m") + "\n" +
    notFound("82s126.3m") + "\n" +
    "Fatal error: Required files are missing, the machine cannot be run.\n";

const std::string unknownSystem =
    "Unknown system 'namco51'\r\n"
    "\r\n"
    "\"namco51\" approximately matches the following\r\n"
    "supported machines (best match first):\r\n"
    "\r\n"
    "namcons1          Let's! TV Play Classic - Namco Nostalgia 1 (Japan)  (Bandai, 2006)\r\n"
    "namcostr          Namco Stars                                         (Namco, 2000)\r\n"
    "nascom1           Nascom 1                                            (Nascom, 1978)\r\n";

} // namespace

TEST(ReasonLines, TheLastLinesOfMamesOwnWordsSayWhyAndTheRestIsCounted) {
    EXPECT_EQ(reasonLines(missingFiles).lines,
              (Lines{notFound("pacman.5f"), notFound("82s123.7f"), notFound("82s126.4a"),
                     notFound("82s126.1m"), notFound("82s126.3m"),
                     "Fatal error: Required files are missing, the machine cannot be run."}));
    EXPECT_EQ(reasonLines(missingFiles, 1).lines,
              Lines{"Fatal error: Required files are missing, the machine cannot be run."});
    EXPECT_EQ(reasonLines(missingFiles).leftOut, 8u);
    EXPECT_EQ(reasonLines(missingFiles, 1).leftOut, 13u);
    EXPECT_EQ(reasonLines(missingFiles, 14).leftOut, 0u);
    EXPECT_EQ(reasonLines("Error: unknown option: -badparam\n").lines,
              Lines{"Error: unknown option: -badparam"});
    EXPECT_EQ(reasonLines("").lines, Lines{});
    EXPECT_EQ(reasonLines("\n \r\n\t\n").lines, Lines{}) << "blank lines say nothing";
}

TEST(ReasonLines, AListingAfterTheReasonIsLeftOutWithItsHeading) {
    EXPECT_EQ(reasonLines(unknownSystem).lines, Lines{"Unknown system 'namco51'"});
    EXPECT_EQ(reasonLines(unknownSystem, 1).leftOut, 0u) << "a listing left out is not counted";
    // Without a paragraph before it, the listing is all MAME said.
    EXPECT_EQ(reasonLines("Some device:\n\nfailed to start\n").lines,
              (Lines{"Some device:", "failed to start"}));
    EXPECT_EQ(reasonLines("Bad media\n\nsee:\n\na\nb\n\nalso:\n\nc\n").lines, Lines{"Bad media"})
        << "listings one after the other";
    EXPECT_EQ(reasonLines("Fatal error: bad file:\n").lines, Lines{"Fatal error: bad file:"});
}

TEST(ReasonLines, NulBytesAreDroppedAndTheWordsAfterThemKept) {
    using namespace std::string_literals;
    EXPECT_EQ(reasonLines("unzip: bad\0 header\nFatal\0\0 error: no ROMs\n\0\n"s).lines,
              (Lines{"unzip: bad header", "Fatal error: no ROMs"}));
    EXPECT_EQ(reasonLines("O\0K\0\n\0F\0a\0i\0l\0\n\0"s).lines, (Lines{"OK", "Fail"}))
        << "UTF-16 output reads as its letters";
}

TEST(ReasonLines, LinesAreTrimmedAndCutToAReadableLengthAtACharacterBoundary) {
    EXPECT_EQ(reasonLines("  indented stays   \t\r\n").lines, Lines{"  indented stays"});
    std::string longLine = std::string(199, 'x') + "\xCE\xB2" + std::string(50, 'y');
    Lines lines = reasonLines(longLine).lines;
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string(199, 'x') + "...") << "the two-byte letter is not split";
}

TEST(OutputTail, KeepsTheEndOfAnyOutputFromALineStart) {
    launch::OutputTail tail(100);
    tail.append("first line\n");
    tail.append("second ");
    EXPECT_EQ(tail.text(), "first line\nsecond ");
    for (int i = 0; i < 1000; ++i)
        tail.append("line " + std::to_string(i) + "\n");
    std::string text = tail.text();
    EXPECT_LE(text.size(), 100u);
    EXPECT_TRUE(text.ends_with("line 998\nline 999\n")) << text;
    EXPECT_EQ(text.find("line 9"), 1u) << "a piece of a line is dropped: " << text;

    launch::OutputTail unbroken(10);
    unbroken.append(std::string(50, 'z'));
    EXPECT_EQ(unbroken.text(), "") << "one long line cut at both ends says nothing";
}

TEST(GameEndMessage, NamesTheGameTheCodeInWordsAndMamesLines) {
    const std::string fatal = "Fatal error: Required files are missing, the machine cannot be run.";
    const std::string pacman = "Pac-Man (Midway) (pacman): MAME ended with exit code 2, required "
                               "files are missing.\n\nMAME said:\n";
    EXPECT_EQ(
        launch::gameEndMessage("Pac-Man (Midway)", "pacman", 2, {{notFound("82s126.3m"), fatal}}),
        pacman + notFound("82s126.3m") + "\n" + fatal);
    EXPECT_EQ(launch::gameEndMessage("Pac-Man (Midway)", "pacman", 2, {{fatal}, 12}),
              pacman + "(12 earlier lines left out)\n" + fatal);
    EXPECT_EQ(launch::gameEndMessage("Pac-Man (Midway)", "pacman", 2, {{fatal}, 1}),
              pacman + "(1 earlier line left out)\n" + fatal);
    EXPECT_EQ(launch::gameEndMessage("Namco 51xx", "namco51", 5, {}),
              "Namco 51xx (namco51): MAME ended with exit code 5, MAME knows no such system.");
    EXPECT_EQ(launch::gameEndMessage("readme", "readme", 6, {}),
              "readme: MAME ended with exit code 6, the configuration or a parameter is invalid.")
        << "a file listed by its name alone is named once";
}

TEST(GameEndMessage, ACrashIsNamedAndAnyOtherCodeIsMamesOwn) {
    auto words = [](std::uint32_t code) {
        return launch::gameEndMessage("pong", "pong", code, {});
    };
    const std::string ended = "pong: MAME ended with exit code ";
    EXPECT_EQ(words(0xC0000005u), ended + "3221225477 (0xC0000005), MAME crashed (Windows "
                                          "exception: access violation).");
    EXPECT_EQ(words(0x80000003u),
              ended + "2147483651 (0x80000003), MAME crashed (Windows exception: breakpoint).");
    EXPECT_EQ(words(0xC0000417u), ended + "3221226519 (0xC0000417), MAME crashed (Windows "
                                          "exception).");
    EXPECT_EQ(words(0xFFFFFFFFu),
              ended + "4294967295 (0xFFFFFFFF), an error MAME gives no name to.")
        << "-1 is a program's own code";
    EXPECT_EQ(words(0x80070005u),
              ended + "2147942405 (0x80070005), an error MAME gives no name to.")
        << "an HRESULT is no exception";
    EXPECT_EQ(words(7), ended + "7, an error MAME gives no name to.");
}
