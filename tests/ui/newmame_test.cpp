// A MAME replaced since the game list was written: the next start has it
// write the list again behind the splash window, keeping the old list when it
// writes none. And where the keys go when the main window comes up.
#include "launch/GameListUpdate.h"
#include "support/Files.h"
#include "support/MameFolder.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "toolkit/gui/Application.h"
#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace testing_support;

namespace {

const std::string renewing = "A new MAME was found: updating the Gamelist";
const std::string oldList = "Name:             Description:\n"
                            "galaga           \"Galaga (from the MAME before)\"\n";

// Settings naming the tests' MAME stand-in (through cmd), a game list written
// by the MAME before, and ROM files of two games.
class NewMame : public ::testing::Test {
protected:
    void SetUp() override {
        clearProgramFiles();
        copyFakeMame(mame.exe());
        mame.addRoms({"galaga.zip", "pong.zip"});
        writeFile(inProgramFolder("gamelist"), oldList);
        ui::TForm1::splashObserver = [this](const std::string& text) { statuses.push_back(text); };
    }
    void TearDown() override {
        window.reset();
        ui::TForm1::splashObserver = nullptr;
        clearProgramFiles();
    }

    void writeSettings(const std::string& stampLine) {
        writeFile(inProgramFolder("keston.ini"),
                  "[config]\r\nmameexe=" + mame.exe() + "\r\nxp=1\r\nclose=0\r\n" + stampLine);
    }
    std::string storedStamp() const {
        std::string text = readFile(inProgramFolder("keston.ini"));
        auto at = text.find("mamestamp=");
        return at == std::string::npos ? "" : text.substr(at + 10, text.find('\r', at) - at - 10);
    }
    ui::TForm1& start() {
        statuses.clear();
        window = std::make_unique<ui::TForm1>();
        window->show();
        return *window;
    }
    bool renewed() const {
        return std::find(statuses.begin(), statuses.end(), renewing) != statuses.end();
    }

    ScriptedDialogs dialogs;
    MameFolder mame{inProgramFolder("New MAME folder"), "rompath roms\n"};
    std::vector<std::string> statuses;
    std::unique_ptr<ui::TForm1> window;
};

} // namespace

TEST_F(NewMame, TheNewMameWritesTheListBeforeItIsBuilt) {
    writeSettings("mamestamp=1024 133000000000000000\r\n");
    ui::TForm1& w = start();

    ASSERT_GE(statuses.size(), 2u);
    EXPECT_EQ(statuses[statuses.size() - 2], renewing);
    EXPECT_EQ(statuses.back(), "Loading Gamelist");
    EXPECT_NE(readFile(inProgramFolder("gamelist")).find("pong             \"Pong (Rev E) [TTL]\""),
              std::string::npos);
    EXPECT_EQ(w.ListBox1.items(),
              (std::vector<std::string>{"Galaga (Namco rev. B)", "Pong (Rev E) [TTL]"}));
    EXPECT_EQ(storedStamp(), launch::mameStamp(mame.exe()));
    EXPECT_FALSE(tk::fileExists(inProgramFolder("gamelist.new")));
    EXPECT_TRUE(dialogs.log.empty());

    start();
    EXPECT_FALSE(renewed()) << "the same MAME again";
}

TEST_F(NewMame, AFailingNewMameKeepsTheOldListAndSaysSoOnce) {
    writeSettings("mamestamp=1024 133000000000000000\r\n");
    writeFile(mame.file("exitcode"), "3");
    ui::TForm1& w = start();

    EXPECT_TRUE(renewed());
    EXPECT_EQ(readFile(inProgramFolder("gamelist")), oldList);
    EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Galaga (from the MAME before)"});
    EXPECT_EQ(dialogs.texts("message"),
              std::vector<std::string>{"MAME did not write its game list: it ended with exit "
                                       "code 3. The game list stays as it was."});
    EXPECT_FALSE(tk::fileExists(inProgramFolder("gamelist.new")));

    dialogs.log.clear();
    start();
    EXPECT_FALSE(renewed());
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(NewMame, SettingsFromBeforeTheStampGetItWithoutARun) {
    writeSettings("");
    writeFile(mame.file("exitcode"), "3"); // a run would say so
    ui::TForm1& w = start();

    EXPECT_FALSE(renewed());
    EXPECT_EQ(readFile(inProgramFolder("gamelist")), oldList);
    EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Galaga (from the MAME before)"});
    EXPECT_EQ(storedStamp(), launch::mameStamp(mame.exe()));
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(NewMame, AMissingMameIsNoNewMame) {
    writeSettings("mamestamp=1024 133000000000000000\r\n");
    DeleteFileA(mame.exe().c_str());
    start();
    EXPECT_FALSE(renewed());
    EXPECT_EQ(storedStamp(), "1024 133000000000000000");
    EXPECT_EQ(readFile(inProgramFolder("gamelist")), oldList);
}

TEST(MameStamp, ChangesWithTheSizeOrTheWriteTimeOfTheExecutable) {
    TempFolder temp("keston-stamp");
    std::string exe = temp.file("mame.exe");
    writeFile(exe, "MZ first");
    std::string first = launch::mameStamp(exe);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(launch::mameStamp(exe), first) << "the same file, the same stamp";

    writeFile(exe, "MZ first and longer");
    std::string longer = launch::mameStamp(exe);
    EXPECT_NE(longer, first);

    // Same size, another write time: a MAME copied over with its own time.
    tk::FileHandle file(
        CreateFileA(exe.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    FILETIME older{0x12345678, 0x01D00000};
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &older));
    file.reset();
    EXPECT_NE(launch::mameStamp(exe), longer);
    EXPECT_EQ(launch::mameStamp(temp.file("missing.exe")), "");
}

TEST_F(NewMame, TheListHasTheKeysWhenTheWindowComesUpAndWhenItIsActivatedAgain) {
    writeSettings("");
    ui::TForm1& w = start();
    tk::application().processMessages();
    EXPECT_EQ(GetFocus(), w.ListBox1.handle()) << "typing works without a click first";

    // Another window takes the activation and gives it back, as a desktop
    // switches between programs.
    {
        ui::TForm4 other;
        other.show();
        tk::application().processMessages();
        EXPECT_NE(GetFocus(), w.ListBox1.handle());
    }
    SetForegroundWindow(w.handle());
    tk::application().processMessages();
    EXPECT_EQ(GetActiveWindow(), w.handle());
    EXPECT_EQ(GetFocus(), w.ListBox1.handle());

    w.SpeedButton2Click();
    EXPECT_EQ(GetFocus(), w.Edit1.handle()) << "the panel covers the list";
    w.SpeedButton8Click();
    EXPECT_EQ(GetFocus(), w.ListBox1.handle()) << "back in the list state";
}
