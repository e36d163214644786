#include "launch/GameLaunch.h"

#include "argdump/ArgDump.h"

#include <gtest/gtest.h>

namespace {

using launch::launchGame;

// argdump stands in for MAME; "Play" does not wait for it, so the tests wait
// for its record.
class GameLaunchTest : public ::testing::Test {
protected:
    testing_support::TempFolder temp{"keston-play"};
    std::string record = temp.file("record.txt");
    argdump::ScopedVariable output{"ARGDUMP_OUT", record};
};

TEST_F(GameLaunchTest, StartsMameFromItsFolderWithShortNameAndParameters) {
    std::string folder = temp.folder("MAME Folder");
    std::string mame = argdump::copyTo(tk::joinPath(folder, "mame.exe"));

    EXPECT_EQ(launchGame(mame, "pacman", "-window -skip_gameinfo"), std::nullopt);

    EXPECT_EQ(tk::currentDirectory(), folder);
    auto child = argdump::awaitRecord(record);
    EXPECT_EQ(child["commandline"], "\"" + mame + "\" pacman -window -skip_gameinfo");
    EXPECT_EQ(child["directory"], folder);
    EXPECT_EQ(child["argv1"], "pacman");
    EXPECT_EQ(child["show"], "1");
}

TEST_F(GameLaunchTest, EmptyParametersLeaveOneBlankAfterTheShortName) {
    std::string folder = temp.folder("MAME");
    std::string mame = argdump::copyTo(tk::joinPath(folder, "mame.exe"));

    EXPECT_EQ(launchGame(mame, "pong", ""), std::nullopt);

    EXPECT_EQ(argdump::awaitRecord(record)["commandline"], mame + " pong ");
}

TEST_F(GameLaunchTest, AQuotedPathStartsFromItsFolder) {
    std::string folder = temp.folder("Quoted MAME");
    std::string mame = argdump::copyTo(tk::joinPath(folder, "mame.exe"));

    EXPECT_EQ(launchGame("\"" + mame + "\"", "pong", "-x"), std::nullopt);

    auto child = argdump::awaitRecord(record);
    EXPECT_EQ(child["commandline"], "\"" + mame + "\" pong -x");
    EXPECT_EQ(child["directory"], folder);
}

TEST_F(GameLaunchTest, AMissingExecutableIsReportedByNameAndReason) {
    std::string before = tk::currentDirectory();
    std::string mame = temp.file("No MAME Here\\mame.exe");

    auto message = launchGame(mame, "pacman", "");

    ASSERT_TRUE(message.has_value());
    std::string expectedStart = "Cannot start " + mame + ": ";
    EXPECT_EQ(message->rfind(expectedStart, 0), 0u) << *message;
    EXPECT_GT(message->size(), expectedStart.size() + 5) << *message;
    EXPECT_EQ(tk::currentDirectory(), before);
}

TEST_F(GameLaunchTest, WithoutAnExecutableNothingIsStarted) {
    // A bare short name would make Windows search for a program of that name.
    argdump::copyTo(temp.file("pacman.exe"));
    SetCurrentDirectoryA(temp.path().c_str());

    EXPECT_EQ(launchGame("", "pacman", ""),
              "No MAME executable is configured. Press \"Configure \" and name it.");

    EXPECT_TRUE(argdump::awaitRecord(record, std::chrono::seconds(2)).empty());
}

TEST_F(GameLaunchTest, AShortNameIsOneArgumentAndNeverAnOption) {
    std::string folder = temp.folder("MAME");
    std::string mame = argdump::copyTo(tk::joinPath(folder, "mame.exe"));

    EXPECT_EQ(launchGame(mame, "pong -window", "-x"), std::nullopt);
    auto child = argdump::awaitRecord(record);
    EXPECT_EQ(child["argv1"], "pong -window");
    EXPECT_EQ(child["argv2"], "-x");
    DeleteFileA(record.c_str());

    for (const char* name :
         {"-listxml", "-", "\t-cc", "pong\t-cc", "pong\t-listxml", "\"-cc", " -cc"}) {
        EXPECT_EQ(launchGame(mame, name, ""),
                  "The game " + std::string(name) +
                      " is not started: a name that begins with \"-\" would reach MAME as an "
                      "option.");
        EXPECT_TRUE(argdump::awaitRecord(record, std::chrono::seconds(1)).empty()) << name;
    }
}

TEST(GameEndReport, EachLineIsReadAsUtf8OrInTheCodePage) {
    launch::ProcessEnd end{2, "r\xC3\xA9tro.zip NOT FOUND\nC:\\Jeux\\R\xE9tro: no such folder\n"};
    EXPECT_EQ(launch::gameEndReport("FM-16\xCE\xB2", "fm16beta", end),
              "FM-16\xCE\xB2 (fm16beta): MAME ended with exit code 2, required files are missing."
              "\n\nMAME said:\nr\xC3\xA9tro.zip NOT FOUND\nC:\\Jeux\\R\xC3\xA9tro: no such folder");
    EXPECT_EQ(launch::gameEndReport("Pong (Rev E) [TTL]", "pong", {0, "anything\n"}), std::nullopt)
        << "a good end says nothing";
}

} // namespace
