#include "support/DuringNextLoop.h"
#include "support/Files.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "ui/CreditsWindow.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

using namespace testing_support;

namespace {

// The pitch's items by their design names.
std::vector<std::pair<std::string, tk::Control*>> pitchItems(ui::TForm3& f) {
    return {
        {"Shape1", &f.Shape1}, {"Shape2", &f.Shape2}, {"Shape3", &f.Shape3}, {"GOL0", &f.GOL0},
        {"GOL1", &f.GOL1},     {"GOL2", &f.GOL2},     {"PAR1", &f.PAR1},     {"ESQ0", &f.ESQ0},
        {"ESQ1", &f.ESQ1},     {"ESQ2", &f.ESQ2},     {"ESQ3", &f.ESQ3},     {"MID0", &f.MID0},
        {"MID1", &f.MID1},     {"MID2", &f.MID2},     {"MID3", &f.MID3},     {"DIR0", &f.DIR0},
        {"DIR1", &f.DIR1},     {"DIR2", &f.DIR2},     {"DIR3", &f.DIR3},     {"PAR2", &f.PAR2},
        {"Label1", &f.Label1}, {"Label2", &f.Label2}, {"Label3", &f.Label3}, {"Label5", &f.Label5}};
}

std::string nameOf(ui::TForm3& f, const tk::Control* control) {
    for (const auto& [name, item] : pitchItems(f))
        if (item == control)
            return name;
    return "?";
}

// The pitch's items as painted, back to front; a hidden one in brackets.
std::string pitch(ui::TForm3& f) {
    std::string shown;
    for (const tk::Control* control : f.Panel2.controls()) {
        std::string name = nameOf(f, control);
        if (!shown.empty())
            shown += ' ';
        shown += control->visible() ? name : "[" + name + "]";
    }
    return shown;
}

bool showing(const tk::WinControl& control) {
    return GetWindowLongA(control.handle(), GWL_STYLE) & WS_VISIBLE;
}

// The strip's windows that show, and the caption of OK.
std::string strip(ui::TForm3& f) {
    std::string shown;
    for (auto [name, button] : {std::pair{"Button2", &f.Button2}, std::pair{"Button4", &f.Button4},
                                std::pair{"Button8", &f.Button8}})
        if (showing(*button))
            shown += std::string(name) + " ";
    return shown + (showing(f.OK) ? "OK=" + f.OK.caption() : "no OK");
}

const std::string designOrder = "Shape1 Shape2 Shape3 GOL0 GOL1 GOL2 PAR1 ESQ2 MID3 MID2 MID1 "
                                "DIR1 DIR2 DIR3 ESQ1 ESQ3 ESQ0 MID0 DIR0 PAR2 Label1 Label2 "
                                "Label3 Label5";

// Hides the items named, in brackets, in a paint order.
std::string hiding(std::string order, std::initializer_list<std::string> hidden) {
    for (const std::string& name : hidden) {
        size_t at = (" " + order + " ").find(" " + name + " ");
        order.replace(at, name.size(), "[" + name + "]");
    }
    return order;
}

const std::string ready =
    hiding(designOrder, {"GOL0", "GOL1", "GOL2", "ESQ2", "MID3", "MID2", "MID1", "DIR1", "DIR2",
                         "DIR3", "ESQ1", "ESQ3", "ESQ0", "MID0", "DIR0"});

class CreditsZone : public ::testing::Test {
protected:
    ui::RandomGenerator random;
    ui::TForm3 form{random};
};

} // namespace

TEST_F(CreditsZone, AKickShowsOneBallAndOneKeeperAndOkResetsThePitch) {
    EXPECT_EQ(pitch(form), ready);
    EXPECT_EQ(strip(form), "Button2 Button4 Button8 no OK");

    form.Button8Click();
    EXPECT_EQ(pitch(form),
              hiding(designOrder, {"GOL1", "GOL2", "PAR1", "ESQ2", "MID3", "MID2", "MID1", "DIR1",
                                   "DIR2", "DIR3", "ESQ1", "ESQ3", "ESQ0", "MID0", "PAR2"}));
    EXPECT_EQ(strip(form), "Button2 Button4 Button8 OK=KICK OUT!!");
    // OK lies above the kick buttons and covers them.
    for (tk::PushButton* kick : {&form.Button2, &form.Button4, &form.Button8}) {
        for (POINT corner : {POINT{kick->bounds().left, kick->bounds().top},
                             POINT{kick->bounds().left + kick->bounds().width - 1,
                                   kick->bounds().top + kick->bounds().height - 1}})
            EXPECT_EQ(ChildWindowFromPointEx(form.Panel1.handle(), corner, CWP_SKIPINVISIBLE),
                      form.OK.handle());
    }

    form.OKClick();
    EXPECT_EQ(strip(form), "Button2 Button4 Button8 no OK");
    EXPECT_EQ(form.OK.caption(), "KICK OUT!!") << "the last outcome stays on the hidden button";
    EXPECT_EQ(pitch(form), hiding("Shape1 Shape2 Shape3 GOL0 GOL1 GOL2 PAR1 MID3 MID1 DIR1 DIR3 "
                                  "ESQ1 ESQ3 ESQ0 MID0 DIR0 PAR2 Label1 Label2 Label3 Label5 "
                                  "DIR2 MID2 ESQ2",
                                  {"GOL0", "GOL1", "GOL2", "MID3", "MID1", "DIR1", "DIR3", "ESQ1",
                                   "ESQ3", "ESQ0", "MID0", "DIR0", "DIR2", "MID2", "ESQ2"}));
}

TEST_F(CreditsZone, ThreeKicksToTheLeftFromStartEndOutSavedSaved) {
    form.Button2Click();
    EXPECT_EQ(strip(form), "Button2 Button4 Button8 OK=KICK OUT!!");
    form.OKClick();

    // Frame 3 and the keeper left: the ball he holds comes to the very front.
    form.Button2Click();
    EXPECT_EQ(strip(form), "Button2 Button4 Button8 OK=THE GOALKEEPER CAUGHT THE BALL!!");
    EXPECT_TRUE(form.ESQ3.visible());
    EXPECT_TRUE(form.GOL0.visible());
    EXPECT_EQ(nameOf(form, form.Panel2.controls().back()), "ESQ3");
    form.OKClick();
    EXPECT_FALSE(form.ESQ3.visible());

    form.Button2Click();
    EXPECT_EQ(strip(form), "Button2 Button4 Button8 OK=THE GOALKEEPER CAUGHT THE BALL!!");
    EXPECT_TRUE(form.ESQ2.visible());
    EXPECT_TRUE(form.GOL0.visible());
}

TEST_F(CreditsZone, AGoalSqueezedPastTheKeeperLiftsHimAboveEverything) {
    // From this seed a kick to the right lands in frame 3, the keeper dives
    // right and the third draw lets the ball past him.
    random.RandomSeed = [] {
        for (std::uint32_t seed = 0;; ++seed) {
            ui::RandomGenerator r{seed};
            if (r.NextRandom(4) == 3 && r.NextRandom(3) == 2 && r.NextRandom(2) == 1)
                return seed;
        }
    }();
    form.Button8Click();
    EXPECT_EQ(form.OK.caption(), "GOOOAAALLL!!!");
    EXPECT_EQ(nameOf(form, form.Panel2.controls().back()), "GOL2");
    form.OKClick();
    // The half-height balls go back above him; he stays above the labels.
    const auto& order = form.Panel2.controls();
    std::vector<std::string> last;
    for (auto it = order.end() - 4; it != order.end(); ++it)
        last.push_back(nameOf(form, *it));
    EXPECT_EQ(last, (std::vector<std::string>{"GOL2", "DIR2", "MID2", "ESQ2"}));
}

TEST_F(CreditsZone, ClosingOnlyHidesAndTheNextShowingHasTheSameKickWhereItWasLeft) {
    form.show();
    RECT at;
    GetWindowRect(form.handle(), &at);
    EXPECT_EQ(at.left, 300);
    EXPECT_EQ(at.top, 144);
    RECT client;
    GetClientRect(form.handle(), &client);
    EXPECT_EQ(client.right, 482);
    EXPECT_EQ(client.bottom, 292);

    form.Button4Click();
    std::string pitchShown = pitch(form);
    SetWindowPos(form.handle(), nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form.close();
    EXPECT_FALSE(form.visible());
    ASSERT_TRUE(IsWindow(form.handle()));

    form.show();
    GetWindowRect(form.handle(), &at);
    EXPECT_EQ(at.left, 120);
    EXPECT_EQ(at.top, 90);
    EXPECT_EQ(pitch(form), pitchShown);
    EXPECT_EQ(strip(form), "Button2 Button4 Button8 OK=KICK OUT!!");
}

TEST_F(CreditsZone, KickButtonsShowSymbolFontArrowsAndNeverKeepTheFocus) {
    form.show();
    SetForegroundWindow(form.handle());
    const std::vector<std::pair<tk::PushButton*, wchar_t>> arrows = {
        {&form.Button2, 0xEF}, {&form.Button4, 0xF1}, {&form.Button8, 0xF0}};
    for (const auto& [button, code] : arrows) {
        wchar_t shown[4] = {};
        GetWindowTextW(button->handle(), shown, 4);
        EXPECT_EQ(std::wstring(shown), std::wstring(1, code)) << "the symbol font's code";
        auto font = reinterpret_cast<HFONT>(SendMessageA(button->handle(), WM_GETFONT, 0, 0));
        LOGFONTA logFont{};
        ASSERT_TRUE(GetObjectA(font, sizeof logFont, &logFont));
        EXPECT_STREQ(logFont.lfFaceName, "Wingdings");
        EXPECT_EQ(logFont.lfHeight, -16);
        EXPECT_EQ(logFont.lfCharSet, SYMBOL_CHARSET);
        EXPECT_FALSE(GetWindowLongA(button->handle(), GWL_STYLE) & WS_TABSTOP);
    }

    SendMessageA(form.Button2.handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(strip(form), "Button2 Button4 Button8 OK=KICK OUT!!");
    EXPECT_EQ(GetFocus(), form.handle()) << "the kick button gave the focus back";
    SendMessageA(form.OK.handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(strip(form), "Button2 Button4 Button8 no OK");
    EXPECT_NE(GetFocus(), form.OK.handle());
}

// The flag on the main window: the game opens only for a non-zero integer
// `credits`, the message follows in every case, and the file stays as it was.
TEST(CreditsEntry, TheFlagOpensTheGameOnlyWhenCreditsIsANonZeroInteger) {
    clearProgramFiles();
    testing_support::ScriptedDialogs dialogs;
    ui::TForm1 main;
    main.show();
    const std::string message = "Programa com o orgulho de ser Brasileiro! MADE IN BRAZIL";
    const std::vector<std::pair<std::optional<std::string>, bool>> cases = {
        {"1", true},     {"-1", true},   {"0x1", true}, {"0", false},
        {"true", false}, {"yes", false}, {"", false},   {std::nullopt, false}};
    for (const auto& [value, opens] : cases) {
        std::string label = value ? "credits=" + *value : "no credits key";
        std::string settings = "[config]\r\nxp=0\r\n";
        if (value)
            settings += "credits=" + *value + "\r\n";
        writeFile(inProgramFolder("keston.ini"), settings);
        dialogs.log.clear();
        bool shownModally = false;
        bool messageBefore = true;
        {
            DuringNextLoop whileUp([&] {
                shownModally = main.Form3->visible() && !IsWindowEnabled(main.handle());
                messageBefore = !dialogs.log.empty();
                main.Form3->close();
            });
            main.Image1Click();
            EXPECT_EQ(whileUp.ran(), opens) << label;
        }
        EXPECT_EQ(shownModally, opens) << label;
        EXPECT_FALSE(opens && messageBefore) << label << ": the message waits for the game";
        EXPECT_FALSE(main.Form3->visible()) << label;
        EXPECT_TRUE(IsWindowEnabled(main.handle())) << label;
        EXPECT_EQ(dialogs.texts("message"), std::vector<std::string>{message}) << label;
        EXPECT_EQ(readFile(inProgramFolder("keston.ini")), settings) << label;
    }

    DeleteFileA(inProgramFolder("keston.ini").c_str());
    dialogs.log.clear();
    main.Image1Click();
    EXPECT_EQ(dialogs.texts("message"), std::vector<std::string>{message});
    EXPECT_FALSE(tk::fileExists(inProgramFolder("keston.ini")));
}
