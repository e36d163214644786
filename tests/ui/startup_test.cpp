#include "support/DuringNextLoop.h"
#include "support/Files.h"
#include "support/HeldTurn.h"
#include "support/MameFolder.h"
#include "support/ProgramFolder.h"
#include "support/StartUp.h"
#include "support/TempFolder.h"
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
