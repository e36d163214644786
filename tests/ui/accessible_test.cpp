#include "support/AccessibleTree.h"
#include "support/Files.h"
#include "support/MameFolder.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "toolkit/gui/Application.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <iostream>

using namespace testing_support;

namespace {

// The names of the shown drawn children of one role, or of the shown child
// windows (role 0), in their order.
std::string shown(const std::vector<AccessibleChild>& children, LONG role) {
    std::string names;
    for (const AccessibleChild& child : children)
        if ((role ? child.role.lVal == role && !child.window() : child.window()) && child.shown())
            names += (names.empty() ? "" : "|") + child.name;
    return names;
}

const AccessibleChild& named(const std::vector<AccessibleChild>& children, const char* name) {
    static const AccessibleChild none;
    for (const AccessibleChild& child : children)
        if (child.name == name)
            return child;
    ADD_FAILURE() << "no child " << name;
    return none;
}

// What a reader finds, printed as it reads it.
std::vector<AccessibleChild> read(HWND window, const std::string& title) {
    std::vector<AccessibleChild> children = accessibleChildren(window);
    std::cout << title << ":\n";
    for (const AccessibleChild& child : children)
        std::cout << "  " << child.line() << "\n";
    return children;
}

// A first run applied to MAME's stand-in, with pong listed: the list state.
class AccessibleMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        clearProgramFiles();
        copyFakeMame(mame.exe());
        mame.addRoms({"pong.zip"});
        window = std::make_unique<ui::TForm1>();
        window->show();
        window->Edit1.setText(mame.exe());
        window->xp.setChecked(true);
        window->SpeedButton7Click();
        ASSERT_EQ(window->state(), ui::TForm1::State::list);
    }
    void TearDown() override {
        window.reset();
        clearProgramFiles();
    }

    ScriptedDialogs dialogs;
    MameFolder mame{inProgramFolder("MAME folder"), "rompath roms\n"};
    std::unique_ptr<ui::TForm1> window;
};

} // namespace

TEST_F(AccessibleMainWindow, EachStateShowsItsOwnButtonsAndTextsWhereTheyAreDrawn) {
    ui::TForm1& w = *window;
    auto check = [&](const std::string& state, const char* buttons, const char* texts,
                     const char* panelButtons) {
        std::vector<AccessibleChild> children = read(w.handle(), state);
        EXPECT_EQ(shown(children, ROLE_SYSTEM_PUSHBUTTON), buttons) << state;
        EXPECT_EQ(shown(children, ROLE_SYSTEM_STATICTEXT), texts) << state;
        std::vector<AccessibleChild> panel = read(w.Panel1.handle(), state + ", Panel1");
        EXPECT_EQ(shown(panel, ROLE_SYSTEM_PUSHBUTTON), panelButtons) << state;
        return children;
    };
    std::vector<AccessibleChild> list =
        check("list", "Play|Configure |X|-|ABOUT", "..::PRIME::..|Show all files", "");
    POINT play{221, 326};
    ClientToScreen(w.handle(), &play);
    const AccessibleChild& playChild = named(list, "Play");
    EXPECT_EQ(std::vector<LONG>({playChild.left, playChild.top, playChild.width, playChild.height}),
              std::vector<LONG>({play.x, play.y, 73, 22}));
    EXPECT_EQ(playChild.state.lVal, 0) << "never focusable";
    EXPECT_EQ(named(list, "Show all files").state.lVal, STATE_SYSTEM_READONLY);

    // Where a reader points: a drawn button by its number, the list as its
    // own object, since it lies above the surface.
    ComPtr<IAccessible> client = clientObject(w.handle());
    VARIANT hit;
    ASSERT_EQ(client->accHitTest(play.x + 5, play.y + 5, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, playChild.id);
    ASSERT_EQ(client->accHitTest(play.x - 100, play.y - 100, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_DISPATCH);
    hit.pdispVal->Release();

    w.SpeedButton2Click();
    check("configuration", "X|-|OK|Cancel|Apply|ABOUT", "..::PRIME::..",
          "Configure MAME|Search|Change Skin|Default Skin");
    w.SpeedButton5Click();
    ASSERT_EQ(w.state(), ui::TForm1::State::editor);
    check("editor", "X|-|Save|Close|ABOUT", "..::PRIME::..", "");
}

TEST_F(AccessibleMainWindow, PressingPlayStartsTheSelectedGameAndAHiddenButtonRefuses) {
    ui::TForm1& w = *window;
    w.ListBox1.setItemIndex(0);
    ComPtr<IAccessible> client = clientObject(w.handle());
    std::vector<AccessibleChild> children = accessibleChildren(w.handle());
    EXPECT_EQ(named(children, "Play").action, "Press");
    EXPECT_EQ(client->accDoDefaultAction(childVariant(named(children, "Cancel").id)), E_FAIL);

    EXPECT_EQ(client->accDoDefaultAction(childVariant(named(children, "Play").id)), S_OK);
    EXPECT_FALSE(tk::fileExists(mame.file("fakemame.log"))) << "the reader's call returns first";
    bool started = false;
    for (DWORD start = GetTickCount(); !started && GetTickCount() - start < 20000; Sleep(10)) {
        tk::application().processMessages();
        started = tk::fileExists(mame.file("fakemame.log"));
    }
    ASSERT_TRUE(started);
    std::string commandLine = "\"";
    commandLine += mame.exe() + "\" pong \n";
    EXPECT_EQ(readFile(mame.file("fakemame.log")), commandLine);
    EXPECT_EQ(w.state(), ui::TForm1::State::list);
}

TEST(AccessibleDialogs, TheAboutBoxAndTheCreditsGameNameTheirTextsAndButtons) {
    ScriptedDialogs dialogs;
    ui::TAboutBox about;
    about.show();
    std::vector<AccessibleChild> box = read(about.handle(), "About box");
    EXPECT_EQ(shown(box, 0), "OK");
    EXPECT_EQ(named(box, "SPECIAL THANKS TO:").role.lVal, ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(box.size(), 17u) << "sixteen texts and the button";

    ui::RandomGenerator random;
    ui::TForm3 credits(random);
    credits.show();
    std::vector<AccessibleChild> pitch = read(credits.Panel2.handle(), "Credits Zone, pitch");
    EXPECT_EQ(shown(pitch, ROLE_SYSTEM_STATICTEXT),
              "Thank to use KESTON!!!|Game made by the author of KESTON|"
              "\"Your Dream, Your solution\"|The KESTON to :)");
    std::vector<AccessibleChild> strip = read(credits.Panel1.handle(), "Credits Zone, strip");
    EXPECT_EQ(shown(strip, ROLE_SYSTEM_STATICTEXT),
              "<<<Click in the direction to Kick the ball>>>");
    EXPECT_EQ(shown(strip, 0), "\u00F0|\u00F1|\u00EF") << "top first";
}

TEST(AccessibleDialogs, AnObjectKeptPastItsWindowSaysItIsGone) {
    ScriptedDialogs dialogs;
    tk::Form form({.caption = "Closed", .clientWidth = 100, .clientHeight = 50});
    tk::SpeedButton button{form, {8, 8, 50, 20}, "Press me", {}};
    auto about = std::make_unique<ui::TAboutBox>();
    ComPtr<IAccessible> ofForm = clientObject(form.handle());
    ComPtr<IAccessible> ofAbout = clientObject(about->handle());
    LONG count = 0;
    ASSERT_EQ(ofForm->get_accChildCount(&count), S_OK);
    ASSERT_EQ(ofAbout->get_accChildCount(&count), S_OK);

    form.close();  // the window goes, the form stays
    about.reset(); // the form goes with its window
    for (IAccessible* gone : {ofForm.Get(), ofAbout.Get()}) {
        EXPECT_EQ(gone->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
        BSTR name = nullptr;
        EXPECT_EQ(gone->get_accName(childVariant(1), &name), CO_E_OBJNOTCONNECTED);
        EXPECT_EQ(gone->accDoDefaultAction(childVariant(1)), CO_E_OBJNOTCONNECTED);
    }
}
