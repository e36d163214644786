#include "launch/MameCommands.h"

#include <gtest/gtest.h>

using namespace launch;

const std::string system32 = "C:\\WINDOWS\\system32";

TEST(ListfullJob, TheSystemsCmdQuotesTheWholeCommandAndCommandQuotesNothing) {
    auto cmd = listfullJob(true, system32, "C:\\PROGRA~1\\MAME\\MAME.EXE", "C:\\GAMES\\FRONT");
    EXPECT_EQ(cmd.fileName, "C:\\WINDOWS\\system32\\cmd.exe");
    EXPECT_EQ(cmd.commandLine,
              "/c \"C:\\PROGRA~1\\MAME\\MAME.EXE -listfull >C:\\GAMES\\FRONT\\gamelist\"");

    auto command = listfullJob(false, system32, "C:\\PROGRA~1\\MAME\\MAME.EXE", "C:\\GAMES\\FRONT");
    EXPECT_EQ(command.fileName, "C:\\WINDOWS\\system32\\command.com");
    EXPECT_EQ(command.commandLine,
              "/c C:\\PROGRA~1\\MAME\\MAME.EXE -listfull >C:\\GAMES\\FRONT\\gamelist");
}

TEST(CreateConfigJob, SameInterpretersWithTheCreateOption) {
    auto cmd = createConfigJob(true, system32, "C:\\MAME\\MAME.EXE");
    EXPECT_EQ(cmd.fileName, "C:\\WINDOWS\\system32\\cmd.exe");
    EXPECT_EQ(cmd.commandLine, "/c \"C:\\MAME\\MAME.EXE -cc\"");

    auto command = createConfigJob(false, system32, "C:\\MAME\\MAME.EXE");
    EXPECT_EQ(command.fileName, "C:\\WINDOWS\\system32\\command.com");
    EXPECT_EQ(command.commandLine, "/c C:\\MAME\\MAME.EXE -cc");
    EXPECT_EQ(directCreateConfigCommandLine("C:\\A&B\\mame.exe"), "\"C:\\A&B\\mame.exe\" -cc");
    EXPECT_EQ(createConfigJob(true, "", "C:\\MAME\\MAME.EXE").fileName, "")
        << "never the current drive's root";
}

TEST(PlayCommandLine, JoinsExecutableShortNameAndParametersWithOneBlank) {
    EXPECT_EQ(playCommandLine("C:\\MAME\\mame.exe", "pacman", "-window"),
              "C:\\MAME\\mame.exe pacman -window");
    EXPECT_EQ(playCommandLine("C:\\MAME\\mame.exe", "pacman", ""), "C:\\MAME\\mame.exe pacman ");
    EXPECT_EQ(playCommandLine("mame", "pong", "-video none -sound none"),
              "mame pong -video none -sound none");
}

TEST(PlayCommandLine, QuotesAPathWithBlanksUnlessItIsQuotedAlready) {
    EXPECT_EQ(playCommandLine("C:\\Program Files\\MAME\\mame.exe", "pacman", ""),
              "\"C:\\Program Files\\MAME\\mame.exe\" pacman ");
    EXPECT_EQ(playCommandLine("\"C:\\Program Files\\MAME\\mame.exe\"", "pacman", "-window"),
              "\"C:\\Program Files\\MAME\\mame.exe\" pacman -window");
    EXPECT_EQ(playCommandLine("C:\\A&B\\mame.exe", "pacman", ""), "C:\\A&B\\mame.exe pacman ");
}

// ROM folders on shares or other systems' disks hold names Windows cannot
// create; each reaches MAME as exactly one argument that is no option.
TEST(GameArgument, QuotesBlanksAndRefusesOptionsQuotesAndControlCharacters) {
    EXPECT_EQ(gameArgument("pong"), "pong");
    EXPECT_EQ(gameArgument("pong-2"), "pong-2");
    EXPECT_EQ(gameArgument("my game"), "\"my game\"");
    EXPECT_EQ(gameArgument(" pong"), "\" pong\"");
    EXPECT_EQ(gameArgument("caf\xE9"), "caf\xE9");
    for (const char* name :
         {"-cc", "-", "  -listxml", "\t-cc", "pong\t-cc", "pong\t-listxml", "\"-cc", "pong\"",
          "a\"b c\"", "pong\n-cc", "pong\r", "pong\x7F", "\x01"})
        EXPECT_EQ(gameArgument(name), std::nullopt) << name;
}

TEST(PlayCommandLine, AShortNameIsOneArgument) {
    EXPECT_EQ(playCommandLine("C:\\MAME\\mame.exe", "my game", "-window"),
              "C:\\MAME\\mame.exe \"my game\" -window");
    EXPECT_EQ(playCommandLine("C:\\MAME\\mame.exe", "pong\t-cc", ""), "C:\\MAME\\mame.exe  ")
        << "a refused name forms no argument";
}

TEST(Unquoted, RemovesOnlyOneEnclosingPair) {
    EXPECT_EQ(unquoted("\"C:\\Program Files\\mame.exe\""), "C:\\Program Files\\mame.exe");
    EXPECT_EQ(unquoted("C:\\MAME\\mame.exe"), "C:\\MAME\\mame.exe");
    EXPECT_EQ(unquoted("\"C:\\MAME\\mame.exe"), "\"C:\\MAME\\mame.exe");
    EXPECT_EQ(unquoted("\""), "\"");
    EXPECT_EQ(unquoted(""), "");
}

TEST(RunsWithoutInterpreter, ShortFormsWithCharactersCmdActsOnOrABlank) {
    for (const char* path :
         {"C:\\A&B\\MAME.EXE", "C:\\A^B", "C:\\MAME(1)", "C:\\X)", "C:\\%TEMP%", "C:\\BANG!",
          // a volume without 8.3 names gives the long form back
          "D:\\Program Files\\MAME\\mame.exe", "C:\\GAMES\\FRONT END"})
        EXPECT_TRUE(runsWithoutInterpreter(path)) << path;
    for (const char* path :
         {"C:\\PROGRA~1\\MAME\\MAME.EXE", "C:\\a-b_c.d", "", "C:\\x;y,z=[]{}'+@#$"})
        EXPECT_FALSE(runsWithoutInterpreter(path)) << path;
}
