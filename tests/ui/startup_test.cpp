#include "launch/GameListUpdate.h"
#include "support/DuringNextLoop.h"
#include "support/Files.h"
#include "support/HeldTurn.h"
#include "support/MameFolder.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "support/WindowHooks.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Application.h"
#include "toolkit/text/CodePage.h"
#include "ui/AboutBox.h"
#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

using namespace testing_support;

namespace {

const std::vector<std::string> statusTexts = {
    "Wait While Loading",
    "Creating the Credit Zone",
    "Creating the Aboutbox",
    "Loading Windows XP/2000 option status",
    "Loading Close after Playing option status",
    "Loading Default Skin",
    "Loading Actual Skin",
    "Searching for Config files",
    "Searching for Gamelist",
    "Loading Gamelist",
};

std::vector<std::string> firstStatusTexts(size_t n) {
    return {statusTexts.begin(), statusTexts.begin() + static_cast<std::ptrdiff_t>(n)};
}

class StartUp : public ::testing::Test {
protected:
    void SetUp() override { clearProgramFiles(); }
    void TearDown() override {
        window.reset();
        clearProgramFiles();
    }

    ui::TForm1& start() {
        window = std::make_unique<ui::TForm1>();
        window->show();
        return *window;
    }

    // The splash window's status texts as they reach the screen: read from
    // its status line whenever the panel that carries it paints.
    void readSplash(HWND painted) {
        auto* splash = dynamic_cast<ui::TForm4*>(tk::Form::owning(painted));
        if (!splash || painted != splash->Panel1.handle())
            return;
        if (statuses.empty() || statuses.back() != splash->status.caption())
            statuses.push_back(splash->status.caption());
        // The label grows to the right with its text, measured in its font;
        // past the picture, inside the panel's bevels, the text is cut.
        const tk::Bounds& text = splash->status.bounds();
        const tk::Bounds& room = splash->Image1.bounds();
        if (text.left + text.width > room.left + room.width)
            cutStatuses.push_back(splash->status.caption() + " (" + std::to_string(text.width) +
                                  " px)");
    }

    ScriptedDialogs dialogs;
    std::vector<std::string> statuses;
    std::vector<std::string> cutStatuses;
    SentMessageWatch splashPaints{WM_PAINT, [this](HWND painted) { readSplash(painted); }};
    std::unique_ptr<ui::TForm1> window;
};

// Presses and releases the left button in the middle of a control of the
// main window, as a user's click reaches it.
void click(const ui::TForm1& w, const tk::Control& control) {
    const tk::Bounds& at = control.bounds();
    LPARAM middle = MAKELPARAM(at.left + at.width / 2, at.top + at.height / 2);
    SendMessageA(w.handle(), WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(w.handle(), WM_LBUTTONUP, 0, middle);
}

// Which of the state-dependent controls are visible, in one string, so a
// failure shows the whole set at once.
std::string visibleSet(const ui::TForm1& w) {
    std::string shown;
    auto add = [&](const char* name, bool visible) {
        if (visible)
            shown += std::string(shown.empty() ? "" : " ") + name;
    };
    add("Play", w.SpeedButton1.visible());
    add("Configure", w.SpeedButton2.visible());
    add("Label4", w.Label4.visible());
    add("CheckBox1", w.CheckBox1.visible());
    add("OK", w.SpeedButton7.visible());
    add("Cancel", w.SpeedButton8.visible());
    add("Apply", w.SpeedButton9.visible());
    add("Save", w.SpeedButton10.visible());
    add("Close", w.SpeedButton11.visible());
    add("Panel1", w.Panel1.visible());
    add("Cxdetexto", w.Cxdetexto.visible());
    add("Panel2", w.Panel2.visible());
    return shown;
}

} // namespace

TEST_F(StartUp, FirstRunOpensTheConfigurationPanelWithDefaultsAndWritesNothing) {
    ui::TForm1& w = start();

    EXPECT_EQ(statuses, firstStatusTexts(8));
    EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
    EXPECT_EQ(visibleSet(w), "OK Cancel Apply Panel1");
    EXPECT_TRUE(w.xp.checked()) << "this system has no command.com";
    EXPECT_TRUE(w.close1.checked());
    EXPECT_EQ(w.Edit1.text(), "");
    EXPECT_EQ(w.Edit2.text(), "");
    EXPECT_TRUE(w.visible());
    EXPECT_FALSE(tk::fileExists(inProgramFolder("keston.ini")));
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(StartUp, WithoutGamelistTheOptionsComeFromTheSettingsAndThePanelOpens) {
    writeFile(inProgramFolder("keston.ini"),
              "[config]\r\nmameexe=C:\\mame\\mame.exe\r\nparameters=-window\r\nxp=1\r\n"
              "close=0\r\n");
    ui::TForm1& w = start();

    EXPECT_EQ(statuses, firstStatusTexts(9));
    EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
    EXPECT_TRUE(w.xp.checked());
    EXPECT_FALSE(w.close1.checked());
    EXPECT_EQ(w.Edit1.text(), "C:\\mame\\mame.exe");
    EXPECT_EQ(w.Edit2.text(), "-window");
}

TEST_F(StartUp, WithBothFilesTheListIsBuiltBehindTheSplashWindow) {
    writeFile(inProgramFolder("keston.ini"), "[config]\r\nxp=true\r\nclose=0x1\r\n");
    writeFile(inProgramFolder("gamelist"), "name     description\n");
    ui::TForm1& w = start();

    EXPECT_EQ(statuses, statusTexts);
    EXPECT_EQ(cutStatuses, std::vector<std::string>{});
    EXPECT_EQ(w.state(), ui::TForm1::State::list);
    EXPECT_EQ(visibleSet(w), "Play Configure Label4 CheckBox1");
    EXPECT_FALSE(w.xp.checked()) << "a word is not a number: the default holds";
    EXPECT_TRUE(w.close1.checked());
    EXPECT_FALSE(w.CheckBox1.checked());
    EXPECT_EQ(w.ListBox1.itemIndex(), -1);
}

TEST_F(StartUp, ASecondShowRunsNothingAgain) {
    ui::TForm1& w = start();
    w.hide();
    statuses.clear();
    w.show();
    EXPECT_TRUE(statuses.empty());
}

TEST_F(StartUp, ASkinThatIsNoPictureIsReportedAndTheDesignSkinStays) {
    writeFile(inProgramFolder("keston.ini"),
              "[config]\r\nSkin=" + inProgramFolder("notes.txt") + "\r\n");
    writeFile(inProgramFolder("notes.txt"), "not a picture");
    ui::TForm1& w = start();

    EXPECT_EQ(dialogs.texts("error"),
              std::vector<std::string>{"Unknown picture file extension (.txt)"});
    EXPECT_EQ(statuses, firstStatusTexts(7));
    EXPECT_TRUE(w.visible());
    EXPECT_EQ(w.ShapedForm1.picture().width(), 338);
    EXPECT_EQ(w.Image2.picture().width(), 338);
    DeleteFileA(inProgramFolder("notes.txt").c_str());
}

// Stored as the skin, a metafile whose bitmap the system's player failed on
// ended every start.
TEST_F(StartUp, AMetafileSkinWithACompressedBitmapIsReportedAndTheDesignSkinStays) {
    const std::string skin = inProgramFolder("compressed.wmf");
    CopyFileA("Z:" KESTON_SOURCE_DIR "/tests/fuzz/corpus/wmf/finding-rle8-stretchdib.wmf",
              skin.c_str(), FALSE);
    writeFile(inProgramFolder("keston.ini"), "[config]\r\nSkin=" + skin + "\r\n");
    ui::TForm1& w = start();

    EXPECT_EQ(dialogs.texts("error"), std::vector<std::string>{"Metafile is not valid."});
    EXPECT_EQ(statuses, firstStatusTexts(7));
    EXPECT_TRUE(w.visible());
    EXPECT_EQ(w.ShapedForm1.picture().width(), 338);
    DeleteFileA(skin.c_str());
}

// A save or a settings write killed midway leaves its temporary file beside
// the file; the next start removes it, and nothing else: files of the user's
// own named like an editor's backup stay, read-only or not.
TEST_F(StartUp, OnlyLeftoversOfKilledWritesAreRemovedAtStart) {
    TempFolder mame("keston-mame");
    const std::string ini = mame.write("mame.ini", "rompath roms\r\n");
    mame.write("mame.exe", "");
    const std::string mameLeftover = tk::temporarySibling(ini);
    writeFile(mameLeftover, std::string(1 << 20, 'x'));
    const std::string settings = "[config]\r\nmameexe=" + mame.file("mame.exe") + "\r\n";
    writeFile(inProgramFolder("keston.ini"), settings);
    const std::string leftover = tk::temporarySibling(inProgramFolder("keston.ini"));
    writeFile(leftover, std::string(1 << 20, 'x'));
    const std::vector<std::string> usersOwn = {mame.write("~mame.in", "mine"),
                                               mame.write("~mame.cf", "mine"),
                                               inProgramFolder("~keston.in")};
    writeFile(usersOwn.back(), "mine");
    SetFileAttributesW(tk::utf8ToWide(usersOwn[0]).c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(tk::utf8ToWide(usersOwn[2]).c_str(), FILE_ATTRIBUTE_READONLY);
    start();

    EXPECT_FALSE(tk::fileExists(leftover));
    EXPECT_FALSE(tk::fileExists(mameLeftover));
    EXPECT_EQ(readFile(inProgramFolder("keston.ini")), settings);
    EXPECT_EQ(readFile(ini), "rompath roms\r\n");
    for (const std::string& file : usersOwn) {
        EXPECT_EQ(readFile(file), "mine") << file;
        SetFileAttributesW(tk::utf8ToWide(file).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    DeleteFileW(tk::utf8ToWide(usersOwn[2]).c_str());
}

// Another copy of the program stopped in the middle of a settings write
// keeps its turn on the file: the start reads the settings all the same, at
// once, and says nothing.
TEST_F(StartUp, AnotherCopyHoldingTheSettingsFileHoldsUpNoStart) {
    const std::string settings = inProgramFolder("keston.ini");
    writeFile(settings, "[config]\r\nmameexe=C:\\mame\\mame.exe\r\nxp=1\r\nclose=0\r\n");
    HeldTurn otherCopy(settings);
    ASSERT_TRUE(otherCopy.held());
    const auto started = std::chrono::steady_clock::now();
    ui::TForm1& w = start();

    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
    EXPECT_TRUE(w.xp.checked());
    EXPECT_FALSE(w.close1.checked());
    EXPECT_EQ(w.Edit1.text(), "C:\\mame\\mame.exe");
    EXPECT_TRUE(dialogs.log.empty());
}

// A window that start-up could not create is made on its first click; while
// that fails too, the click reports the error and the program goes on.
TEST_F(StartUp, TheAboutBoxAndTheGameThatStartUpCouldNotCreateAreMadeOnTheirClick) {
    writeFile(inProgramFolder("keston.ini"), "[config]\r\ncredits=1\r\n");
    const std::vector<std::string> refused = {"Error creating window."};
    auto refusedGame = std::make_unique<RefusedWindowCreation>("Credits Zone");
    ui::TForm1& w = start();
    ASSERT_EQ(refusedGame->refusals(), 1);
    EXPECT_EQ(dialogs.texts("error"), refused);
    EXPECT_EQ(statuses, firstStatusTexts(2));
    EXPECT_TRUE(w.visible());
    ASSERT_FALSE(w.Form3);
    ASSERT_FALSE(w.AboutBox);

    bool aboutShown = false;
    {
        DuringNextLoop whileUp([&] {
            aboutShown = w.AboutBox->visible();
            w.AboutBox->close();
        });
        click(w, w.SpeedButton12);
    }
    EXPECT_TRUE(aboutShown);

    dialogs.log.clear();
    click(w, w.Image1);
    EXPECT_EQ(refusedGame->refusals(), 2);
    EXPECT_EQ(dialogs.texts("error"), refused);
    EXPECT_TRUE(dialogs.texts("message").empty()) << "the error ended the handler";
    EXPECT_FALSE(w.Form3);

    refusedGame.reset();
    dialogs.log.clear();
    bool gameShown = false;
    {
        DuringNextLoop whileUp([&] {
            gameShown = w.Form3->visible();
            w.Form3->close();
        });
        click(w, w.Image1);
    }
    EXPECT_TRUE(gameShown);
    EXPECT_TRUE(dialogs.texts("error").empty());
    EXPECT_EQ(dialogs.texts("message").size(), 1u);
}

TEST(MainWindowStates, ConfigureAndCancelSwitchTheButtonSets) {
    clearProgramFiles();
    ScriptedDialogs dialogs;
    ui::TForm1 w;
    EXPECT_EQ(visibleSet(w), "Play Configure Label4 CheckBox1");
    w.SpeedButton2Click();
    EXPECT_EQ(visibleSet(w), "OK Cancel Apply Panel1");
    w.SpeedButton8Click();
    EXPECT_EQ(visibleSet(w), "Play Configure Label4 CheckBox1");
}

TEST(MainWindowStates, MinimiseHidesTheWindowAndRestoreBringsItBackUnchanged) {
    clearProgramFiles();
    ScriptedDialogs dialogs;
    ui::TForm1 w;
    w.show();
    ASSERT_EQ(w.state(), ui::TForm1::State::configuration);
    w.SpeedButton3Click();
    EXPECT_FALSE(w.visible());
    tk::application().restore();
    EXPECT_TRUE(w.visible());
    EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
}

TEST(MainWindowStates, TheTaskbarCarriesTheApplicationTitleAndTheWindowItsOwnCaption) {
    tk::application().setTitle("KESTON PRIME");
    ui::TForm1 w;
    char text[64] = {};
    GetWindowTextA(w.handle(), text, sizeof text);
    EXPECT_STREQ(text, "Form1");
    EXPECT_EQ(GetWindow(w.handle(), GW_OWNER), tk::application().window());
    GetWindowTextA(tk::application().window(), text, sizeof text);
    EXPECT_STREQ(text, "KESTON PRIME");
}

TEST(MainWindowStates, TabMovesTheFocusThroughTheWindowedControlsInDesignOrder) {
    clearProgramFiles();
    ScriptedDialogs dialogs;
    ui::TForm1 w;
    w.show();
    ASSERT_EQ(w.state(), ui::TForm1::State::configuration);
    w.Edit1.setFocus();
    std::vector<HWND> visited;
    for (int i = 0; i < 5; ++i) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        tk::application().processMessages();
        visited.push_back(GetFocus());
    }
    EXPECT_EQ(visited, (std::vector<HWND>{w.Edit2.handle(), w.xp.handle(), w.close1.handle(),
                                          w.ListBox1.handle(), w.Edit1.handle()}));
}

TEST(MainWindowStates, TheSplashAndTheAboutBoxShowTheProjectVersion) {
    ui::TForm4 splash;
    EXPECT_EQ(splash.Label2.caption(), "Version 3.1");
    ui::TAboutBox about;
    EXPECT_EQ(about.Label10.caption(), "Arcade Front-End 3.1");
}

// A MAME replaced since the game list was written: the next start has it
// write the list again behind the splash window, keeping the old list when it
// writes none. And where the keys go when the main window comes up.
namespace {

const std::string renewing = "New MAME found: updating Gamelist";
const std::string oldList = "Name:             Description:\n"
                            "galaga           \"Galaga (from the MAME before)\"\n";

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

    void writeSettings(const std::string& stampLine) {
        writeFile(inProgramFolder("keston.ini"),
                  "[config]\r\nmameexe=" + mame.exe() + "\r\nxp=1\r\nclose=0\r\n" + stampLine);
    }
    std::string storedStamp() const {
        std::string text = readFile(inProgramFolder("keston.ini"));
        auto at = text.find("mamestamp=");
        return at == std::string::npos ? "" : text.substr(at + 10, text.find('\r', at) - at - 10);
    }
    ui::TForm1& startAgain() {
        statuses.clear();
        return start();
    }
    bool renewed() const {
        return std::find(statuses.begin(), statuses.end(), renewing) != statuses.end();
    }

    MameFolder mame{inProgramFolder("New MAME folder"), "rompath roms\n"};
};

} // namespace

TEST_F(NewMame, TheNewMameWritesTheListBeforeItIsBuilt) {
    writeSettings("mamestamp=1024 133000000000000000\r\n");
    ui::TForm1& w = startAgain();

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
    EXPECT_EQ(cutStatuses, std::vector<std::string>{}) << "every status text fits the splash";

    startAgain();
    EXPECT_FALSE(renewed()) << "the same MAME again";
}

TEST_F(NewMame, AFailingNewMameKeepsTheOldListAndStampAndTheNextStartTriesAgain) {
    writeSettings("mamestamp=1024 133000000000000000\r\n");
    writeFile(mame.file("exitcode"), "3");
    const std::vector<std::string> said{mame.exe() +
                                        " did not print a MAME game list: it ended with exit "
                                        "code 3. The game list stays as it was."};
    for (int start = 0; start < 2; ++start) {
        dialogs.log.clear();
        ui::TForm1& w = startAgain();
        EXPECT_TRUE(renewed());
        EXPECT_EQ(readFile(inProgramFolder("gamelist")), oldList);
        EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Galaga (from the MAME before)"});
        EXPECT_EQ(dialogs.texts("message"), said);
        EXPECT_EQ(storedStamp(), "1024 133000000000000000");
        EXPECT_FALSE(tk::fileExists(inProgramFolder("gamelist.new")));
    }
}

// The stamp cannot be stored: the renewed list is shown all the same, the
// user is told which file refused and why, and the next start tries again.
TEST_F(NewMame, AStampThatCannotBeStoredCostsNoListAndIsTriedAgain) {
    writeSettings("mamestamp=1024 133000000000000000\r\n");
    std::string ini = inProgramFolder("keston.ini");
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::vector<std::string> said{"Unable to write to " + ini +
                                        ": the file is read-only. The next start tries again."};
    for (int start = 0; start < 2; ++start) {
        dialogs.log.clear();
        ui::TForm1& w = startAgain();
        EXPECT_TRUE(renewed());
        EXPECT_EQ(w.ListBox1.items(),
                  (std::vector<std::string>{"Galaga (Namco rev. B)", "Pong (Rev E) [TTL]"}));
        EXPECT_EQ(dialogs.texts("message"), said);
        EXPECT_EQ(storedStamp(), "1024 133000000000000000");
    }
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The renewed list cannot replace the old one: the old one is shown, and MAME,
// which did write it, is not blamed.
TEST_F(NewMame, AGameListThatCannotBeReplacedKeepsTheOldListAndStamp) {
    writeSettings("mamestamp=1024 133000000000000000\r\n");
    std::string list = inProgramFolder("gamelist");
    SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_READONLY);
    ui::TForm1& w = startAgain();
    SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(w.ListBox1.items(), std::vector<std::string>{"Galaga (from the MAME before)"});
    EXPECT_EQ(dialogs.texts("message"),
              std::vector<std::string>{"Cannot create file " + list +
                                       ": the file is read-only. The next start tries again."});
    EXPECT_EQ(storedStamp(), "1024 133000000000000000");
    // The refused replacement leaves MAME's new list behind it.
    DeleteFileA(inProgramFolder("gamelist.new").c_str());
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
    writeSettings("mamestamp=1024 133000000000000000\r\n");
    DeleteFileA(mame.exe().c_str());
    startAgain();
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
