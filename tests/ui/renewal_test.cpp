#include "launch/GameListUpdate.h"
#include "support/Files.h"
#include "support/MameFolder.h"
#include "support/ProgramFolder.h"
#include "support/StartUp.h"
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Application.h"
#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

using namespace testing_support;
using namespace std::chrono_literals;

// A MAME replaced since the game list was written: the next start has it
// write the list again behind the start, which goes on with the old list,
// keeping the old list when it writes none, or not all of one, or does not
// finish. And where the keys go when the main window comes up.
namespace {

const std::string renewing = "New MAME found: updating Gamelist";
const std::string oldList = "Name:             Description:\n"
                            "galaga           \"Galaga (from the MAME before)\"\n";
const std::string oldStamp = "1024 133000000000000000";
const std::vector<std::string> newRows{"Galaga (Namco rev. B)", "Pong (Rev E) [TTL]"};

// Settings naming the tests' MAME stand-in (through cmd), a game list written
// by the MAME before, and ROM files of two games.
class NewMame : public StartUp {
protected:
    void SetUp() override {
        StartUp::SetUp();
        copyFakeMame(mame.exe());
        mame.addRoms({"galaga.zip", "pong.zip"});
        writeFile(inProgramFolder("gamelist"), oldList);
    }

    void writeSettings(const std::string& stampLine, const std::string& mameExe = {}) {
        writeFile(inProgramFolder("keston.ini"),
                  "[config]\r\nmameexe=" + (mameExe.empty() ? mame.exe() : mameExe) +
                      "\r\nxp=1\r\nclose=0\r\n" + stampLine);
    }
    void writeOldStamp(const std::string& mameExe = {}) {
        writeSettings("mamestamp=" + oldStamp + "\r\n", mameExe);
    }
    std::string storedStamp() const {
        std::string text = readFile(inProgramFolder("keston.ini"));
        auto at = text.find("mamestamp=");
        return at == std::string::npos ? "" : text.substr(at + 10, text.find('\r', at) - at - 10);
    }
    ui::TForm1& startAgain(std::chrono::seconds limit = 60s) {
        statuses.clear();
        window = std::make_unique<ui::TForm1>();
        window->renewalTimeLimit = limit;
        window->show();
        return *window;
    }
    bool renewed() const {
        return std::find(statuses.begin(), statuses.end(), renewing) != statuses.end();
    }
    // Runs the window's messages until the renewal is over; false when it
    // is not within the time given.
    static bool renewalEnds(const ui::TForm1& w, std::chrono::seconds limit = 30s) {
        auto end = std::chrono::steady_clock::now() + limit;
        while (w.renewingGameList() && std::chrono::steady_clock::now() < end) {
            tk::application().processMessages();
            Sleep(10);
        }
        return !w.renewingGameList();
    }
    bool renewalLeftBehind() const { return tk::fileExists(inProgramFolder("gamelist.new")); }

    MameFolder mame{inProgramFolder("New MAME folder"), "rompath roms\n"};
};

// The process id a hanging MAME stand-in wrote, once it has; 0 when none
// did within 20 seconds.
DWORD hangingMame(const MameFolder& folder) {
    std::string file = folder.file("hang.pid");
    for (int turn = 0; turn < 2000 && !tk::fileExists(file); ++turn) {
        tk::application().processMessages();
        Sleep(10);
    }
    Sleep(50); // its few bytes written
    std::string text = readFile(file);
    DeleteFileA(file.c_str());
    return text.empty() ? 0 : std::stoul(text);
}

bool processEnded(DWORD pid) {
    tk::KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    return !process || WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0;
}

// The turn of the renewal's file held by another thread, as another copy of
// the program running a renewal holds it.
class RenewalOfAnotherCopy {
public:
    RenewalOfAnotherCopy() {
        thread_ = std::thread([this] {
            tk::FileTurn turn(inProgramFolder("gamelist.new"), 0);
            held_ = turn.held();
            SetEvent(taken_.get());
            WaitForSingleObject(done_.get(), INFINITE);
        });
        WaitForSingleObject(taken_.get(), INFINITE);
    }
    RenewalOfAnotherCopy(const RenewalOfAnotherCopy&) = delete;
    RenewalOfAnotherCopy& operator=(const RenewalOfAnotherCopy&) = delete;
    ~RenewalOfAnotherCopy() {
        SetEvent(done_.get());
        thread_.join();
    }
    bool held() const { return held_; }

private:
    tk::KernelHandle taken_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    tk::KernelHandle done_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    bool held_ = false;
    std::thread thread_;
};

} // namespace

TEST_F(NewMame, TheNewMameWritesTheListBehindTheStartAndTheChosenGameStaysChosen) {
    writeOldStamp();
    writeFile(inProgramFolder("gamelist"), "pong             \"Pong (from the MAME before)\"\n");
    ui::TForm1& w = startAgain();

    ASSERT_GE(statuses.size(), 2u);
    EXPECT_EQ(statuses[statuses.size() - 2], renewing);
    EXPECT_EQ(statuses.back(), "Loading Gamelist");
    EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Pong (from the MAME before)"})
        << "the start goes on with the list there is";
    EXPECT_TRUE(w.renewingGameList());
    w.ListBox1.setItemIndex(0);

    ASSERT_TRUE(renewalEnds(w));
    EXPECT_NE(readFile(inProgramFolder("gamelist")).find("pong             \"Pong (Rev E) [TTL]\""),
              std::string::npos);
    EXPECT_EQ(w.ListBox1.items(), newRows);
    EXPECT_EQ(w.ListBox1.itemIndex(), 1) << "pong, chosen before, is chosen in the new list";
    EXPECT_EQ(storedStamp(), launch::mameStamp(mame.exe()));
    EXPECT_FALSE(renewalLeftBehind());
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_EQ(cutStatuses, std::vector<std::string>{}) << "every status text fits the splash";

    ui::TForm1& again = startAgain();
    EXPECT_FALSE(renewed()) << "the same MAME again";
    EXPECT_FALSE(again.renewingGameList());
}

// A MAME that prints no list, fails after part of one (through the
// interpreter, which hands MAME's exit code on), or stops in the middle of one.
TEST_F(NewMame, ANewMameWithoutAWholeListKeepsTheOldListAndStampAndTheNextStartTriesAgain) {
    writeOldStamp();
    struct Failure {
        const char* file; // beside the MAME stand-in, saying how it fails
        const char* content;
        std::string said;
    };
    const std::string stays = " The game list stays as it was.";
    for (const Failure& failure :
         {Failure{"exitcode", "3",
                  mame.exe() + " did not print a MAME game list: it ended with exit code 3." +
                      stays},
          Failure{"exitcode", "3 2\nFatal error: out of memory\n",
                  mame.exe() +
                      " failed while writing its game list: it ended with exit code 3, a fatal "
                      "error occurred." +
                      stays + "\n\nMAME said:\nFatal error: out of memory"},
          Failure{"cut", "",
                  mame.exe() +
                      " stopped in the middle of its game list: it ended with exit code 0." +
                      stays}}) {
        SCOPED_TRACE(failure.content);
        writeFile(mame.file(failure.file), failure.content);
        for (int start = 0; start < 2; ++start) {
            dialogs.log.clear();
            ui::TForm1& w = startAgain();
            EXPECT_TRUE(renewed());
            ASSERT_TRUE(renewalEnds(w));
            EXPECT_EQ(readFile(inProgramFolder("gamelist")), oldList);
            EXPECT_EQ(w.ListBox1.items(),
                      std::vector<std::string>{"Galaga (from the MAME before)"});
            EXPECT_EQ(dialogs.texts("message"), std::vector<std::string>{failure.said});
            EXPECT_EQ(storedStamp(), oldStamp);
            EXPECT_FALSE(renewalLeftBehind());
        }
        DeleteFileA(mame.file(failure.file).c_str());
    }
}

// The stamp cannot be stored: the renewed list is shown all the same, nothing
// is said, and the next start tries again; settings from before the stamp
// start without a word too.
TEST_F(NewMame, AStampThatCannotBeStoredCostsNoListAndNoMessageAndIsTriedAgain) {
    writeOldStamp();
    std::string ini = inProgramFolder("keston.ini");
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    for (int start = 0; start < 2; ++start) {
        dialogs.log.clear();
        ui::TForm1& w = startAgain();
        EXPECT_TRUE(renewed());
        ASSERT_TRUE(renewalEnds(w));
        EXPECT_EQ(w.ListBox1.items(), newRows);
        EXPECT_TRUE(dialogs.log.empty());
        EXPECT_EQ(storedStamp(), oldStamp);
    }
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    writeSettings("");
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    dialogs.log.clear();
    startAgain();
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(renewed());
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_EQ(storedStamp(), "");
}

// The renewed list cannot replace the old one: the old one is shown, and MAME,
// which did write it, is not blamed.
TEST_F(NewMame, AGameListThatCannotBeReplacedKeepsTheOldListAndStamp) {
    writeOldStamp();
    std::string list = inProgramFolder("gamelist");
    SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_READONLY);
    ui::TForm1& w = startAgain();
    ASSERT_TRUE(renewalEnds(w));
    SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Galaga (from the MAME before)"});
    EXPECT_EQ(dialogs.texts("message"),
              std::vector<std::string>{"Cannot create file " + list +
                                       ": the file is read-only. The next start tries again."});
    EXPECT_EQ(storedStamp(), oldStamp);
    EXPECT_FALSE(renewalLeftBehind());
}

TEST_F(NewMame, SettingsFromBeforeTheStampGetItWithoutARun) {
    writeSettings("");
    writeFile(mame.file("exitcode"), "3"); // a run would say so
    ui::TForm1& w = startAgain();

    EXPECT_FALSE(renewed());
    EXPECT_EQ(readFile(inProgramFolder("gamelist")), oldList);
    EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Galaga (from the MAME before)"});
    EXPECT_EQ(storedStamp(), launch::mameStamp(mame.exe()));
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(NewMame, AMissingMameIsNoNewMame) {
    writeOldStamp();
    DeleteFileA(mame.exe().c_str());
    startAgain();
    EXPECT_FALSE(renewed());
    EXPECT_EQ(storedStamp(), oldStamp);
    EXPECT_EQ(readFile(inProgramFolder("gamelist")), oldList);
}

// Through the interpreter, and directly as a folder with "&" needs: the
// start does not wait, the window works with the old list, and at the limit
// MAME is ended and that is said once.
TEST_F(NewMame, AMameThatNeverFinishesHoldsNothingUpAndIsEndedAtTheLimit) {
    MameFolder direct{inProgramFolder("tom&jerry"), "rompath roms\n"};
    ASSERT_NE(tk::shortPath(direct.exe()).find('&'), std::string::npos);
    copyFakeMame(direct.exe());
    direct.addRoms({"galaga.zip", "pong.zip"});
    for (const MameFolder* folder : {&mame, &direct}) {
        SCOPED_TRACE(folder->path());
        writeFile(folder->file("hang"), "");
        writeOldStamp(folder->exe());
        dialogs.log.clear();
        auto begun = std::chrono::steady_clock::now();
        ui::TForm1& w = startAgain(4s);
        EXPECT_LT(std::chrono::steady_clock::now() - begun, 4s) << "the start waits for no MAME";
        EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Galaga (from the MAME before)"});
        DWORD pid = hangingMame(*folder);
        ASSERT_NE(pid, 0u) << "MAME runs";
        EXPECT_TRUE(w.renewingGameList());

        ASSERT_TRUE(renewalEnds(w));
        EXPECT_EQ(dialogs.texts("message"),
                  std::vector<std::string>{folder->exe() +
                                           " did not finish its game list within 4 seconds and "
                                           "was ended. The game list stays as it was."});
        EXPECT_TRUE(processEnded(pid));
        EXPECT_EQ(readFile(inProgramFolder("gamelist")), oldList);
        EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Galaga (from the MAME before)"});
        EXPECT_EQ(storedStamp(), oldStamp);
        EXPECT_FALSE(renewalLeftBehind());
    }
}

TEST_F(NewMame, TheProgramsEndEndsMameRemovesItsFileAndTheNextStartTriesAgain) {
    writeOldStamp();
    writeFile(mame.file("hang"), "");
    startAgain();
    DWORD pid = hangingMame(mame);
    ASSERT_NE(pid, 0u);
    ASSERT_TRUE(renewalLeftBehind()) << "MAME has begun its list";

    auto begun = std::chrono::steady_clock::now();
    window.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 10s) << "the end waits for no MAME";
    EXPECT_TRUE(processEnded(pid));
    EXPECT_FALSE(renewalLeftBehind());
    EXPECT_EQ(readFile(inProgramFolder("gamelist")), oldList);
    EXPECT_EQ(storedStamp(), oldStamp);
    EXPECT_TRUE(dialogs.log.empty());

    DeleteFileA(mame.file("hang").c_str());
    ui::TForm1& w = startAgain();
    EXPECT_TRUE(renewed());
    ASSERT_TRUE(renewalEnds(w));
    EXPECT_EQ(w.ListBox1.items(), newRows);
    EXPECT_EQ(storedStamp(), launch::mameStamp(mame.exe()));
}

// "Apply" has MAME write the list into the same file: the start's renewal
// is ended and has nothing more to say.
TEST_F(NewMame, ApplyWhileTheStartsRenewalRunsEndsItAndRenewsTheListItself) {
    writeOldStamp();
    writeFile(mame.file("hang"), "");
    ui::TForm1& w = startAgain();
    DWORD pid = hangingMame(mame);
    ASSERT_NE(pid, 0u);
    DeleteFileA(mame.file("hang").c_str());

    w.SpeedButton2Click();
    w.SpeedButton9Click();
    EXPECT_TRUE(processEnded(pid));
    EXPECT_FALSE(w.renewingGameList());
    for (int turn = 0; turn < 20; ++turn) {
        tk::application().processMessages();
        Sleep(10);
    }
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_EQ(w.ListBox1.items(), newRows);
    EXPECT_EQ(storedStamp(), launch::mameStamp(mame.exe()));
    EXPECT_FALSE(renewalLeftBehind());
}

// A renewal killed midway leaves its file: the next start removes it, but
// not while another copy of the program renews the list into it; that copy's
// renewal is not run a second time, nor spoilt by "OK".
TEST_F(NewMame, LeftoversOfKilledRenewalsGoButAnotherCopysRenewalIsLeftAlone) {
    std::string renewal = inProgramFolder("gamelist.new");
    writeSettings("mamestamp=" + launch::mameStamp(mame.exe()) + "\r\n");
    writeFile(renewal, "galaga           \"Gal");
    startAgain();
    EXPECT_FALSE(renewalLeftBehind());

    writeOldStamp();
    {
        RenewalOfAnotherCopy other;
        ASSERT_TRUE(other.held());
        writeFile(renewal, "galaga           \"Gal");
        ui::TForm1& w = startAgain();
        EXPECT_TRUE(renewed());
        ASSERT_TRUE(renewalEnds(w));
        EXPECT_TRUE(renewalLeftBehind());
        EXPECT_EQ(readFile(renewal), "galaga           \"Gal");
        EXPECT_TRUE(dialogs.log.empty());
        EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Galaga (from the MAME before)"});
        EXPECT_EQ(storedStamp(), oldStamp);

        // "Apply" meanwhile: told to try again, in the panel still.
        w.SpeedButton2Click();
        w.SpeedButton7Click();
        EXPECT_EQ(dialogs.texts("message"),
                  std::vector<std::string>{"Another copy of KESTON PRIME is having MAME write the "
                                           "game list right now. Press \"Apply\" again when it "
                                           "has finished."});
        EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
        EXPECT_EQ(readFile(renewal), "galaga           \"Gal");
    }
    DeleteFileA(renewal.c_str());
}

// Activation under X arrives as events of the display server, a moment after
// the window asked for it: the focus is given that moment, and no more.
bool focusComesTo(HWND window) {
    for (int turn = 0; turn < 200 && GetFocus() != window; ++turn) {
        tk::application().processMessages();
        if (GetFocus() != window)
            Sleep(10);
    }
    return GetFocus() == window;
}

TEST_F(NewMame, TheListHasTheKeysWhenTheWindowComesUpAndWhenItIsActivatedAgain) {
    writeSettings("");
    ui::TForm1& w = startAgain();
    EXPECT_TRUE(focusComesTo(w.ListBox1.handle())) << "typing works without a click first";

    // Another window takes the activation and gives it back, as a desktop
    // switches between programs.
    {
        ui::TForm4 other;
        other.show();
        tk::application().processMessages();
        EXPECT_NE(GetFocus(), w.ListBox1.handle());
    }
    SetForegroundWindow(w.handle());
    EXPECT_TRUE(focusComesTo(w.ListBox1.handle()));
    EXPECT_EQ(GetActiveWindow(), w.handle());

    w.SpeedButton2Click();
    EXPECT_EQ(GetFocus(), w.Edit1.handle()) << "the panel covers the list";
    w.SpeedButton8Click();
    EXPECT_EQ(GetFocus(), w.ListBox1.handle()) << "back in the list state";
}
