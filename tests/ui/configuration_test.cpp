#include "support/Files.h"
#include "support/MameFolder.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/Paths.h"
#include "toolkit/files/SystemError.h"
#include "toolkit/gui/Application.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include <commdlg.h>

using namespace testing_support;

namespace {

const std::string fullPathMessage = "This MAME exe doesn't exists! Please type the full Path!";
const std::string missingFileMessage = "This MAME exe doesn't exists!";

// A first run: no settings, no gamelist; a MAME folder (blanks in its name)
// whose mame.exe is the tests' stand-in and whose roms folder holds pong.zip.
class ConfigurationPanel : public ::testing::Test {
protected:
    void SetUp() override {
        clearProgramFiles();
        copyFakeMame(mame.exe());
        mame.addRoms({"pong.zip"});
        window = std::make_unique<ui::TForm1>();
        window->show();
    }

    void TearDown() override {
        window.reset();
        for (DWORD holder : holders()) {
            tk::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, holder));
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), 5000);
        }
        clearProgramFiles();
    }

    // The children MAME's stand-in left holding its output, by the log.
    std::vector<DWORD> holders() const {
        std::vector<DWORD> found;
        std::istringstream log(readFile(mame.file("fakemame.log")));
        for (std::string line; std::getline(log, line);) {
            if (line.starts_with("holder "))
                found.push_back(static_cast<DWORD>(std::stoul(line.substr(7))));
        }
        return found;
    }

    std::string settings() const { return readFile(inProgramFolder("keston.ini")); }

    // The panel applied with the stand-in, pong listed and selected, and
    // what MAME does when it plays it: its exit code, how long it runs, what
    // it prints to its errors and how long a child of it holds them open.
    void selectPongThatEnds(int exitCode, int milliseconds, const std::string& errors,
                            int heldMilliseconds = 0) {
        ui::TForm1& w = *window;
        w.Edit1.setText(mame.exe());
        w.xp.setChecked(true);
        w.SpeedButton7Click();
        ASSERT_EQ(w.ListBox1.count(), 1);
        w.ListBox1.setItemIndex(0);
        writeFile(mame.file("game"), std::to_string(exitCode) + " " + std::to_string(milliseconds) +
                                         " " + std::to_string(heldMilliseconds) + "\n" + errors);
    }

    // Processes messages until `done` says so; false after 20 s.
    static bool processMessagesUntil(const std::function<bool()>& done) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(10)) {
            tk::application().processMessages();
            if (done())
                return true;
        }
        return false;
    }

    ScriptedDialogs dialogs;
    MameFolder mame{inProgramFolder("MAME & co folder"), "rompath roms\n"};
    std::unique_ptr<ui::TForm1> window;
};

} // namespace

TEST_F(ConfigurationPanel, RefusedPathsAreNamedAndWriteNothing) {
    ui::TForm1& w = *window;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", fullPathMessage},
        {"mame.exe", fullPathMessage},
        {mame.file("missing") + "\\mame.exe", fullPathMessage},
        {mame.file("mame64.exe"), missingFileMessage},
        {mame.path(), missingFileMessage},
        {mame.file("*.exe"), missingFileMessage},
    };
    for (const auto& [path, message] : cases) {
        dialogs.log.clear();
        w.Edit1.setText(path);
        w.SpeedButton7Click();
        EXPECT_EQ(dialogs.texts("message"), std::vector<std::string>{message}) << path;
        EXPECT_EQ(w.state(), ui::TForm1::State::configuration) << path;
        EXPECT_TRUE(w.Edit1.focused()) << path;
    }
    EXPECT_FALSE(tk::fileExists(inProgramFolder("keston.ini")));
    EXPECT_FALSE(tk::fileExists(inProgramFolder("gamelist")));
}

TEST_F(ConfigurationPanel, OkAfterARefusalAppliesAGoodPathAndLeavesThePanel) {
    ui::TForm1& w = *window;
    w.SpeedButton7Click();
    EXPECT_EQ(w.state(), ui::TForm1::State::configuration);

    w.Edit1.setText(mame.exe());
    w.Edit2.setText("-video none");
    w.xp.setChecked(true);
    w.close1.setChecked(false);
    w.SpeedButton7Click();

    EXPECT_EQ(w.state(), ui::TForm1::State::list);
    // Whole-file keys first, then the options, which the per-key writes add
    // after the section's last line.
    std::string written =
        "[config]\r\nmameexe=" + mame.exe() + "\r\nparameters=-video none\r\nxp=1\r\nclose=0\r\n";
    EXPECT_EQ(settings().substr(0, written.size()), written);
    EXPECT_NE(readFile(inProgramFolder("gamelist")).find("pong             \"Pong (Rev E) [TTL]\""),
              std::string::npos);
    EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Pong (Rev E) [TTL]"});
    EXPECT_EQ(w.gamelist.items(), std::vector<std::string>{"pong"});
    EXPECT_EQ(dialogs.log.size(), 1u) << "only the first refusal";
}

// Explorer's "Copy as path" gives the path in double quotes; a MAME moved
// away is named as the cause, not the ROM directory it took along.
TEST_F(ConfigurationPanel, APathInQuotesIsTakenWithoutThemAndAMovedMameIsNamed) {
    ui::TForm1& w = *window;
    std::string quoted(1, '"');
    w.Edit1.setText(quoted.append(mame.exe()).append(1, '"'));
    w.xp.setChecked(true);
    w.SpeedButton7Click();
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_EQ(w.state(), ui::TForm1::State::list);
    EXPECT_NE(settings().find("mameexe=" + mame.exe() + "\r\n"), std::string::npos) << settings();
    EXPECT_EQ(w.Edit1.text(), mame.exe());
    EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Pong (Rev E) [TTL]"});

    std::string gone = mame.file("moved away") + "\\mame.exe";
    writeFile(inProgramFolder("keston.ini"), "[config]\r\nmameexe=" + gone + "\r\n");
    w.CheckBox1Click();
    EXPECT_EQ(dialogs.texts("message"),
              std::vector<std::string>{"MAME is not found at " + gone +
                                       ". Press \"Configure \" and name it."});
    EXPECT_EQ(w.ListBox1.count(), 0);
}

TEST_F(ConfigurationPanel, ApplyStaysInThePanelAndKeepsTheFieldsOnCancel) {
    ui::TForm1& w = *window;
    w.Edit1.setText(mame.exe());
    w.xp.setChecked(true);
    w.SpeedButton9Click();
    EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
    EXPECT_EQ(w.gamelist.count(), 1);

    w.Edit2.setText("-unsaved");
    w.close1.setChecked(false);
    w.SpeedButton8Click();
    EXPECT_EQ(w.state(), ui::TForm1::State::list);
    EXPECT_FALSE(w.close1.checked()) << "Cancel keeps the unwritten tick";
    EXPECT_EQ(settings().find("-unsaved"), std::string::npos);

    w.SpeedButton2Click();
    EXPECT_EQ(w.Edit2.text(), "");
    EXPECT_TRUE(w.close1.checked());
}

// One message for one failure: no list building after it, and "OK" stays in
// the panel, where the box it names is.
TEST_F(ConfigurationPanel, AMissingInterpreterIsSaidOnceAndLeavesTheOptionsUnwritten) {
    ui::TForm1& w = *window;
    w.Edit1.setText(mame.exe());
    w.Edit2.setText("-window");
    w.xp.setChecked(false); // "command", which this system does not have
    w.SpeedButton7Click();
    EXPECT_EQ(settings(), "[config]\r\nmameexe=" + mame.exe() + "\r\nparameters=-window\r\n\r\n");
    EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
    EXPECT_TRUE(dialogs.texts("error").empty());
    EXPECT_EQ(dialogs.texts("message"),
              std::vector<std::string>{
                  "MAME did not write its game list: the command interpreter \"command\" was not "
                  "found. Tick \"Using Windows XP/2000\" to run MAME through \"cmd\". The game "
                  "list stays as it was."});
    EXPECT_FALSE(tk::fileExists(inProgramFolder("gamelist")));
}

// A failing MAME, whatever part of a list it printed, and a program that is
// no MAME, printing nothing or something else: the list on screen and the
// file stay, byte for byte, and MAME's own words are quoted.
TEST_F(ConfigurationPanel, AProgramThatPrintsNoGameListLeavesTheListAndTheFileAsTheyWere) {
    ui::TForm1& w = *window;
    w.Edit1.setText(mame.exe());
    w.xp.setChecked(true);
    w.SpeedButton7Click();
    ASSERT_EQ(w.ListBox1.items(), std::vector<std::string>{"Pong (Rev E) [TTL]"});
    const std::string goodList = readFile(inProgramFolder("gamelist"));
    const std::string hostname = tk::systemFolder() + "\\hostname.exe";
    ASSERT_TRUE(tk::fileExists(hostname));
    const std::string kept = " The game list stays as it was.";
    struct Case {
        std::string program, exitCode, message;
    };
    const std::vector<Case> cases = {
        {mame.exe(), "3",
         mame.exe() + " did not print a MAME game list: it ended with exit code 3." + kept},
        {hostname, "",
         hostname + " did not print a MAME game list: it ended with exit code 1." + kept},
        // Codes as Play's report names them: unsigned, a crash as such.
        {mame.exe(), "-1073741819",
         mame.exe() +
             " did not print a MAME game list: it ended with exit code 3221225477 "
             "(0xC0000005), a crash (Windows exception: access violation)." +
             kept},
        {mame.exe(), "-1",
         mame.exe() +
             " did not print a MAME game list: it ended with exit code 4294967295 "
             "(0xFFFFFFFF)." +
             kept},
        {mame.exe(), "3 2\nFatal error: out of memory\n",
         mame.exe() +
             " failed while writing its game list: it ended with exit code 3, a fatal error "
             "occurred." +
             kept + "\n\nMAME said:\nFatal error: out of memory"},
        {mame.exe(), "3 1\nError: unable to open driver database (disk I/O)\n",
         mame.exe() +
             " failed while writing its game list: it ended with exit code 3, a fatal error "
             "occurred." +
             kept + "\n\nMAME said:\nError: unable to open driver database (disk I/O)"},
    };
    for (const auto& [program, exitCode, message] : cases) {
        dialogs.log.clear();
        writeFile(mame.file("exitcode"), exitCode);
        w.SpeedButton2Click();
        w.Edit1.setText(program);
        w.SpeedButton7Click();
        EXPECT_EQ(dialogs.texts("message"), std::vector<std::string>{message});
        EXPECT_EQ(readFile(inProgramFolder("gamelist")), goodList) << message;
        EXPECT_FALSE(tk::fileExists(inProgramFolder("gamelist.new"))) << message;
        EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Pong (Rev E) [TTL]"}) << message;
        EXPECT_EQ(w.state(), ui::TForm1::State::configuration) << message;
    }

    // Warnings on its errors do not make a MAME that succeeded fail.
    writeFile(mame.file("exitcode"), "0\nWarning: pacman has no ROM set\n");
    dialogs.log.clear();
    w.Edit1.setText(mame.exe());
    w.SpeedButton9Click();
    EXPECT_TRUE(dialogs.texts("message").empty());
    EXPECT_EQ(readFile(inProgramFolder("gamelist")), goodList);
}

// A file or folder found where MAME is to write its list is none of this
// run's: it is named, never taken for MAME's list, and MAME is not blamed.
TEST_F(ConfigurationPanel, AListFileFoundBeforeTheRunIsNeverTakenAndIsNamed) {
    ui::TForm1& w = *window;
    w.Edit1.setText(mame.exe());
    w.xp.setChecked(true);
    w.SpeedButton7Click();
    const std::string goodList = readFile(inProgramFolder("gamelist"));
    const std::string planted = inProgramFolder("gamelist.new");
    const std::string start = "MAME's new game list cannot be written: " + planted;
    const std::string kept = " The game list stays as it was.";

    writeFile(planted, "Name:             Description:\npong             \"Pong PLANTED\"\n");
    SetFileAttributesA(planted.c_str(), FILE_ATTRIBUTE_READONLY);
    w.SpeedButton2Click();
    w.SpeedButton9Click();
    SetFileAttributesA(planted.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(planted.c_str());
    CreateDirectoryA(planted.c_str(), nullptr);
    w.SpeedButton9Click();
    RemoveDirectoryA(planted.c_str());

    EXPECT_EQ(
        dialogs.texts("message"),
        (std::vector<std::string>{start + " is left from an earlier run and cannot be removed (" +
                                      tk::systemErrorText(ERROR_ACCESS_DENIED) + ")." + kept,
                                  start + " is a folder." + kept}));
    EXPECT_EQ(readFile(inProgramFolder("gamelist")), goodList);
    EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Pong (Rev E) [TTL]"});
}

// The box starts where the system can run its interpreter; a stored value is
// read as it always was, a word that is no number included.
TEST_F(ConfigurationPanel, WithoutAStoredChoiceTheBoxRunsTheInterpreterThereIs) {
    ui::TForm1& w = *window;
    ASSERT_FALSE(tk::fileExists(tk::systemFolder() + "\\command.com"));
    const std::vector<std::pair<std::string, bool>> cases = {
        {"[config]\r\nclose=0\r\n", true}, {"[config]\r\nxp=0\r\n", false},
        {"[config]\r\nxp=yes\r\n", false}, {"[config]\r\nxp=\r\n", false},
        {"[config]\r\nxp=1\r\n", true},
    };
    for (const auto& [file, ticked] : cases) {
        writeFile(inProgramFolder("keston.ini"), file);
        w.xp.setChecked(!ticked);
        w.SpeedButton2Click();
        EXPECT_EQ(w.xp.checked(), ticked) << file;
    }
}

TEST_F(ConfigurationPanel, SearchOpensInTheFolderOfTheTypedPathAndKeepsIt) {
    ui::TForm1& w = *window;
    w.Edit1.setText(mame.file("old.exe"));
    dialogs.files.push_back(mame.exe());
    w.SpeedButton6Click();
    EXPECT_EQ(w.Edit1.text(), mame.exe());

    w.Edit1.setText("");
    w.SpeedButton6Click(); // cancelled
    EXPECT_EQ(w.Edit1.text(), "");

    ASSERT_EQ(dialogs.log.size(), 2u);
    for (const auto& entry : dialogs.log) {
        EXPECT_EQ(entry.request.title, "Search MAME Exe File");
        EXPECT_EQ(entry.request.filter, "MAME Exe Files|*MAME*.exe|Exe Files|*.exe|All Files|*.*");
        EXPECT_EQ(entry.request.initialFolder, mame.path());
        EXPECT_TRUE(entry.request.options & OFN_HIDEREADONLY);
        EXPECT_TRUE(entry.request.options & OFN_ENABLESIZING);
        EXPECT_FALSE(entry.request.options & OFN_FILEMUSTEXIST);
    }
    EXPECT_FALSE(tk::fileExists(inProgramFolder("keston.ini")));
}

TEST_F(ConfigurationPanel, PlayStartsTheSelectedGameAndClosesWhenTicked) {
    ui::TForm1& w = *window;
    w.Edit1.setText(mame.exe());
    w.Edit2.setText("-video none");
    w.xp.setChecked(true);
    w.SpeedButton7Click();
    ASSERT_EQ(w.ListBox1.count(), 1);

    w.SpeedButton1Click(); // nothing selected: nothing happens
    EXPECT_FALSE(tk::fileExists(mame.file("fakemame.log")));

    w.ListBox1.setItemIndex(0);
    w.close1.setChecked(true);
    w.SpeedButton1Click();
    EXPECT_FALSE(w.visible()) << "out of sight at once";
    // MAME ends well at once here, so the window closes without waiting for
    // the delay.
    auto start = GetTickCount();
    EXPECT_TRUE(processMessagesUntil([&] { return !w.handle(); }));
    EXPECT_LT(GetTickCount() - start, w.closeAfterPlaying.delay);
    std::string commandLine = "\"";
    commandLine += mame.exe() + "\" pong -video none\n";
    EXPECT_EQ(readFile(mame.file("fakemame.log")), commandLine);
    EXPECT_EQ(w.handle(), nullptr) << "the window closed after starting MAME";
}

TEST_F(ConfigurationPanel, PlayThatCannotStartMameSaysSoAndStaysOpen) {
    ui::TForm1& w = *window;
    w.Edit1.setText(mame.exe());
    w.xp.setChecked(true);
    w.SpeedButton7Click();
    ASSERT_EQ(w.ListBox1.count(), 1);
    DeleteFileA(mame.exe().c_str());

    w.ListBox1.setItemIndex(0);
    w.close1.setChecked(true);
    w.SpeedButton1Click();
    ASSERT_EQ(dialogs.texts("message").size(), 1u);
    EXPECT_NE(dialogs.texts("message")[0].find(mame.exe()), std::string::npos);
    EXPECT_NE(w.handle(), nullptr);
}

TEST_F(ConfigurationPanel, AGameMameEndsWithAnErrorIsReportedInItsOwnWords) {
    ui::TForm1& w = *window;
    selectPongThatEnds(2, 1500,
                       "unzip: roms/pong.zip couldn't find ECD\r\n"
                       "pong.1a NOT FOUND (tried in pong)\r\n"
                       "Fatal error: Required files are missing, the machine cannot be run.\r\n");
    w.close1.setChecked(false);

    auto start = GetTickCount();
    w.SpeedButton1Click();
    EXPECT_LT(GetTickCount() - start, 1000u) << "Play does not wait for MAME";
    EXPECT_TRUE(dialogs.log.empty());

    ASSERT_TRUE(processMessagesUntil([&] { return !dialogs.log.empty(); }));
    EXPECT_EQ(dialogs.texts("message"),
              std::vector<std::string>{
                  "Pong (Rev E) [TTL] (pong): MAME ended with exit code 2, required files are "
                  "missing.\n\nMAME said:\nunzip: roms/pong.zip couldn't find ECD\n"
                  "pong.1a NOT FOUND (tried in pong)\n"
                  "Fatal error: Required files are missing, the machine cannot be run."});
    EXPECT_EQ(dialogs.log.size(), 1u);
    EXPECT_TRUE(w.visible());
}

TEST_F(ConfigurationPanel, PlayNamesTheGameByTheRowTheListKeepsNotByTheWindowsText) {
    ui::TForm1& w = *window;
    selectPongThatEnds(5, 0, "Unknown system 'pong'\r\n");
    w.close1.setChecked(false);
    // Another program rewrites the row in the list box window.
    HWND list = w.ListBox1.handle();
    SendMessageW(list, LB_DELETESTRING, 0, 0);
    SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"Rewritten from outside"));
    SendMessageW(list, LB_SETCURSEL, 0, 0);

    w.SpeedButton1Click();
    ASSERT_TRUE(processMessagesUntil([&] { return !dialogs.log.empty(); }));
    ASSERT_EQ(dialogs.texts("message").size(), 1u);
    EXPECT_TRUE(dialogs.texts("message")[0].starts_with("Pong (Rev E) [TTL] (pong): "));
}

TEST_F(ConfigurationPanel, PlayStartsTheChosenRowsGameAfterARebuildWhateverTheHiddenListHolds) {
    ui::TForm1& w = *window;
    w.Edit1.setText(mame.exe());
    w.Edit2.setText("-video none");
    w.xp.setChecked(true);
    w.SpeedButton7Click();
    mame.addRoms({"GALAGA.ZIP", "pacman.zip"});
    w.refreshlist();
    ASSERT_EQ(w.ListBox1.count(), 3);
    // Another program rewrites the hidden list's row of the chosen game.
    HWND hidden = w.gamelist.handle();
    SendMessageW(hidden, LB_DELETESTRING, 1, 0);
    SendMessageW(hidden, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(L"galaga"));
    writeFile(mame.file("game"), "0 0\n");

    w.ListBox1.setItemIndex(1);
    w.SpeedButton1Click();
    ASSERT_TRUE(processMessagesUntil(
        [&] { return readFile(mame.file("fakemame.log")).ends_with("ended\n"); }));
    std::string started = "\"";
    started += mame.exe() + "\" pacman -video none\nended\n";
    EXPECT_EQ(readFile(mame.file("fakemame.log")), started);
}

TEST_F(ConfigurationPanel, AGoodEndSaysNothing) {
    ui::TForm1& w = *window;
    selectPongThatEnds(0, 0, "some noise on the errors\r\n");
    w.close1.setChecked(false);
    w.SpeedButton1Click();
    EXPECT_TRUE(processMessagesUntil(
        [&] { return readFile(mame.file("fakemame.log")).ends_with("ended\n"); }));
    Sleep(500);
    tk::application().processMessages();
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_TRUE(w.visible());
}

TEST_F(ConfigurationPanel, CloseAfterPlayingComesBackWithTheMessageWhenMameFailsAtOnce) {
    ui::TForm1& w = *window;
    selectPongThatEnds(5, 0, "Unknown system 'pong'\r\n");
    w.close1.setChecked(true);
    w.SpeedButton1Click();
    EXPECT_FALSE(w.visible());

    ASSERT_TRUE(processMessagesUntil([&] { return !dialogs.log.empty(); }));
    EXPECT_EQ(dialogs.texts("message"),
              std::vector<std::string>{"Pong (Rev E) [TTL] (pong): MAME ended with exit code 5, "
                                       "MAME knows no such system.\n\nMAME said:\n"
                                       "Unknown system 'pong'"});
    EXPECT_TRUE(w.visible()) << "back, and open";
    Sleep(300);
    tk::application().processMessages();
    EXPECT_NE(w.handle(), nullptr);
}

TEST_F(ConfigurationPanel, AFailureIsToldWhenMameEndsThoughAChildOfItHoldsItsOutput) {
    ui::TForm1& w = *window;
    selectPongThatEnds(1, 0, "Fatal error: validity checks failed\r\n", 60000);
    w.close1.setChecked(true);
    w.SpeedButton1Click();

    ASSERT_TRUE(processMessagesUntil([&] { return !dialogs.log.empty(); }));
    EXPECT_EQ(dialogs.texts("message"),
              std::vector<std::string>{"Pong (Rev E) [TTL] (pong): MAME ended with exit code 1, "
                                       "MAME failed its validity checks.\n\nMAME said:\n"
                                       "Fatal error: validity checks failed"});
    EXPECT_TRUE(w.visible()) << "back, and open";
    ASSERT_EQ(holders().size(), 1u);
    tk::KernelHandle holder(OpenProcess(SYNCHRONIZE, FALSE, holders()[0]));
    EXPECT_EQ(WaitForSingleObject(holder.get(), 0), WAIT_TIMEOUT) << "the child held the output";
}

TEST_F(ConfigurationPanel, CloseAfterPlayingClosesWhileMameStillRunsAfterTheDelay) {
    ui::TForm1& w = *window;
    w.closeAfterPlaying.delay = 300;
    selectPongThatEnds(3, 2000, "Fatal error: too late to be told\r\n");
    w.close1.setChecked(true);
    auto start = GetTickCount();
    w.SpeedButton1Click();

    EXPECT_TRUE(processMessagesUntil([&] { return !w.handle(); }));
    EXPECT_LT(GetTickCount() - start, 1500u) << "closed while MAME ran";
    // MAME's end still comes, to no window: nothing is said.
    EXPECT_TRUE(processMessagesUntil(
        [&] { return readFile(mame.file("fakemame.log")).ends_with("ended\n"); }));
    Sleep(200);
    tk::application().processMessages();
    EXPECT_TRUE(dialogs.log.empty());
}
