#include "support/Files.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Application.h"
#include "ui/AboutBox.h"
#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"

#include <gtest/gtest.h>

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
    void SetUp() override {
        clearProgramFiles();
        ui::TForm1::splashObserver = [this](const std::string& text) { statuses.push_back(text); };
    }
    void TearDown() override {
        window.reset();
        ui::TForm1::splashObserver = nullptr;
        clearProgramFiles();
    }

    ui::TForm1& start() {
        window = std::make_unique<ui::TForm1>();
        window->show();
        return *window;
    }

    ScriptedDialogs dialogs;
    std::vector<std::string> statuses;
    std::unique_ptr<ui::TForm1> window;
};

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
    EXPECT_FALSE(w.xp.checked());
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
