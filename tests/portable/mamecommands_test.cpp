#include "launch/MameCommands.h"

#include <gtest/gtest.h>

using namespace launch;

TEST(ListfullJob, CmdQuotesTheWholeCommandAndCommandQuotesNothing) {
    auto cmd = listfullJob(true, "C:\\PROGRA~1\\MAME\\MAME.EXE", "C:\\GAMES\\FRONT");
    EXPECT_EQ(cmd.fileName, "cmd");
    EXPECT_EQ(cmd.commandLine,
              "/c \"C:\\PROGRA~1\\MAME\\MAME.EXE -listfull >C:\\GAMES\\FRONT\\gamelist\"");

    auto command = listfullJob(false, "C:\\PROGRA~1\\MAME\\MAME.EXE", "C:\\GAMES\\FRONT");
    EXPECT_EQ(command.fileName, "command");
    EXPECT_EQ(command.commandLine,
              "/c C:\\PROGRA~1\\MAME\\MAME.EXE -listfull >C:\\GAMES\\FRONT\\gamelist");
}

TEST(CreateConfigJob, SameInterpretersWithTheCreateOption) {
    auto cmd = createConfigJob(true, "C:\\MAME\\MAME.EXE");
    EXPECT_EQ(cmd.fileName, "cmd");
    EXPECT_EQ(cmd.commandLine, "/c \"C:\\MAME\\MAME.EXE -cc\"");

    auto command = createConfigJob(false, "C:\\MAME\\MAME.EXE");
    EXPECT_EQ(command.fileName, "command");
    EXPECT_EQ(command.commandLine, "/c C:\\MAME\\MAME.EXE -cc");
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

TEST(Unquoted, RemovesOnlyOneEnclosingPair) {
    EXPECT_EQ(unquoted("\"C:\\Program Files\\mame.exe\""), "C:\\Program Files\\mame.exe");
    EXPECT_EQ(unquoted("C:\\MAME\\mame.exe"), "C:\\MAME\\mame.exe");
    EXPECT_EQ(unquoted("\"C:\\MAME\\mame.exe"), "\"C:\\MAME\\mame.exe");
    EXPECT_EQ(unquoted("\""), "\"");
    EXPECT_EQ(unquoted(""), "");
}

TEST(InterpreterSpecial, FindsTheCharactersCmdActsOnInsideQuotes) {
    for (const char* path :
         {"C:\\A&B\\MAME.EXE", "C:\\A^B", "C:\\MAME(1)", "C:\\X)", "C:\\%TEMP%", "C:\\BANG!"})
        EXPECT_TRUE(holdsInterpreterSpecial(path)) << path;
    for (const char* path : {"C:\\PROGRA~1\\MAME\\MAME.EXE", "C:\\Program Files\\MAME",
                             "C:\\a-b_c.d", "", "C:\\x;y,z=[]{}'+@#$"})
        EXPECT_FALSE(holdsInterpreterSpecial(path)) << path;
}
