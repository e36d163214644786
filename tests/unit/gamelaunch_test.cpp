#include "launch/GameLaunch.h"

#include "argdump/ArgDump.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using launch::launchGame;

// argdump stands in for MAME; "Play" does not wait for it, so the tests wait
// for its record.
class GameLaunchTest : public ::testing::Test {
protected:
    // A launch that must have started MAME.
    static void started(const launch::Watched& launched) {
        EXPECT_FALSE(launched.outcome.failed()) << launched.outcome.message();
    }
    // A launch that must have been refused with `message`.
    static void refused(const launch::Watched& launched, const std::string& message) {
        EXPECT_TRUE(launched.outcome.failed());
        EXPECT_EQ(launched.outcome.message(), message);
    }

    testing_support::TempFolder temp{"keston-play"};
    std::string record = temp.file("record.txt");
    argdump::ScopedVariable output{"ARGDUMP_OUT", record};
};

TEST_F(GameLaunchTest, StartsMameInItsFolderWithShortNameAndParameters) {
    std::string folder = temp.folder("MAME Folder");
    std::string mame = argdump::copyTo(tk::joinPath(folder, "mame.exe"));
    std::string before = tk::currentDirectory();

    started(launchGame(mame, "pacman", "-window -skip_gameinfo"));

    EXPECT_EQ(tk::currentDirectory(), before) << "only the child starts in MAME's folder";
    auto child = argdump::awaitRecord(record);
    EXPECT_EQ(child["commandline"], "\"" + mame + "\" pacman -window -skip_gameinfo");
    EXPECT_EQ(child["directory"], folder);
    EXPECT_EQ(child["argv1"], "pacman");
    EXPECT_EQ(child["show"], "1");
}

TEST_F(GameLaunchTest, StartsMameInAFolderNamedInAnyLettersWithSuchAShortName) {
    std::string folder = argdump::unicodeFolder(temp, "Игры ゲーム表 🎮");
    std::string mame = argdump::copyTo(tk::joinPath(folder, "mame.exe"));

    started(launchGame(mame, "予定表", "-rompath Игры"));

    auto child = argdump::awaitRecord(record);
    EXPECT_EQ(child["commandline"], "\"" + mame + "\" 予定表 -rompath Игры");
    EXPECT_EQ(child["directory"], folder);
    EXPECT_EQ(child["argv1"], "予定表");
}

TEST_F(GameLaunchTest, EmptyParametersLeaveOneBlankAfterTheShortName) {
    std::string folder = temp.folder("MAME");
    std::string mame = argdump::copyTo(tk::joinPath(folder, "mame.exe"));

    started(launchGame(mame, "pong", ""));

    EXPECT_EQ(argdump::awaitRecord(record)["commandline"], mame + " pong ");
}

TEST_F(GameLaunchTest, AQuotedPathStartsFromItsFolder) {
    std::string folder = temp.folder("Quoted MAME");
    std::string mame = argdump::copyTo(tk::joinPath(folder, "mame.exe"));

    started(launchGame("\"" + mame + "\"", "pong", "-x"));

    auto child = argdump::awaitRecord(record);
    EXPECT_EQ(child["commandline"], "\"" + mame + "\" pong -x");
    EXPECT_EQ(child["directory"], folder);
}

TEST_F(GameLaunchTest, AMissingExecutableIsReportedByNameAndReason) {
    std::string before = tk::currentDirectory();
    std::string mame = temp.file("No MAME Here\\mame.exe");

    tk::Outcome outcome = launchGame(mame, "pacman", "").outcome;

    ASSERT_TRUE(outcome.failed());
    const std::string& message = outcome.message();
    std::string expectedStart = "Cannot start " + mame + ": ";
    EXPECT_EQ(message.rfind(expectedStart, 0), 0u) << message;
    EXPECT_GT(message.size(), expectedStart.size() + 5) << message;
    EXPECT_EQ(tk::currentDirectory(), before);
}

TEST_F(GameLaunchTest, WithoutAnExecutableNothingIsStarted) {
    // A bare short name would make Windows search for a program of that name.
    argdump::copyTo(temp.file("pacman.exe"));
    SetCurrentDirectoryA(temp.path().c_str());

    refused(launchGame("", "pacman", ""),
            "No MAME executable is configured. Press \"Configure \" and name it.");

    EXPECT_TRUE(argdump::awaitRecord(record, std::chrono::seconds(2)).empty());
}

TEST_F(GameLaunchTest, AShortNameIsOneArgumentAndNeverAnOption) {
    std::string folder = temp.folder("MAME");
    std::string mame = argdump::copyTo(tk::joinPath(folder, "mame.exe"));

    started(launchGame(mame, "pong -window", "-x"));
    auto child = argdump::awaitRecord(record);
    EXPECT_EQ(child["argv1"], "pong -window");
    EXPECT_EQ(child["argv2"], "-x");
    DeleteFileA(record.c_str());

    // Each refusal names what is wrong with the name.
    const std::pair<const char*, const char*> refusals[] = {
        {"-listxml", "a name that begins with \"-\" would reach MAME as an option."},
        {" -cc", "a name that begins with \"-\" would reach MAME as an option."},
        {"\t-cc", "a name with a tab cannot reach MAME as one argument."},
        {"pong\t-listxml", "a name with a tab cannot reach MAME as one argument."},
        {"\"-cc", "a name with a double quote cannot reach MAME as one argument."},
        {"pong\x01", "a name with a control character cannot reach MAME as one argument."},
    };
    for (auto [name, reason] : refusals) {
        refused(launchGame(mame, name, ""),
                "The game " + std::string(name) + " is not started: " + reason);
        EXPECT_TRUE(argdump::awaitRecord(record, std::chrono::seconds(1)).empty()) << name;
    }
}

TEST(GameEndReport, EachLineIsReadAsUtf8OrInTheCodePage) {
    launch::ProcessEnd end{2, "r\xC3\xA9tro.zip NOT FOUND\nC:\\Jeux\\R\xE9tro: no such folder\n"};
    tk::Outcome report = launch::gameEndReport("FM-16\xCE\xB2", "fm16beta", end);
    EXPECT_TRUE(report.failed());
    EXPECT_EQ(report.message(),
              "FM-16\xCE\xB2 (fm16beta): MAME ended with exit code 2, required files are missing."
              "\n\nMAME said:\nr\xC3\xA9tro.zip NOT FOUND\nC:\\Jeux\\R\xC3\xA9tro: no such folder");
    EXPECT_FALSE(launch::gameEndReport("Pong (Rev E) [TTL]", "pong", {0, "anything\n"}).failed())
        << "a good end says nothing";
    // A short name from a ROM file named in any letters is UTF-8 already.
    EXPECT_EQ(launch::gameEndReport("ゲーム表", "игра🎮", {2, ""}).message(),
              "ゲーム表 (игра🎮): MAME ended with exit code 2, required files are missing.");
}

} // namespace
