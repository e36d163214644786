#include "support/DuringNextLoop.h"
#include "support/ScriptedDialogs.h"
#include "toolkit/gui/Application.h"
#include "ui/AboutBox.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

void pressEnter(HWND window) {
    PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(window, WM_KEYUP, VK_RETURN, 0);
}

POINT topLeft(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {rect.left, rect.top};
}

POINT centredOnScreen(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2};
}

bool operator==(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}

// A form with an edit, a plain button and a default button, counting presses.
class EnterForm : public tk::Form {
public:
    EnterForm()
        : tk::Form({.caption = "Enter",
                    .frame = tk::Frame::dialog,
                    .clientWidth = 200,
                    .clientHeight = 100}) {
        plain.onClick = [this] { ++plainPresses; };
        okButton.onClick = [this] { ++defaultPresses; };
    }
    tk::Edit edit{*this, {8, 8, 100, 21}, tk::white};
    tk::PushButton plain{*this, {8, 40, 75, 25}, "Plain"};
    tk::PushButton okButton{*this, {100, 40, 75, 25}, "OK", {.isDefault = true}};
    int plainPresses = 0;
    int defaultPresses = 0;
};

} // namespace

TEST(DefaultButton, EnterPressesItWhereverTheFocusIsInTheForm) {
    testing_support::ScriptedDialogs dialogs;
    EnterForm form;
    form.show();
    for (HWND focus : {form.edit.handle(), form.plain.handle(), form.handle()}) {
        SetFocus(focus);
        pressEnter(GetFocus());
        tk::application().processMessages();
    }
    EXPECT_EQ(form.defaultPresses, 3);
    EXPECT_EQ(form.plainPresses, 0);
    EXPECT_EQ(form.edit.text(), "") << "the edit never saw the key";

    // A hidden default button is not pressed; the key goes on to the control.
    form.okButton.hide();
    form.edit.setFocus();
    pressEnter(form.edit.handle());
    tk::application().processMessages();
    EXPECT_EQ(form.defaultPresses, 3);
}

TEST(AboutBox, EnterOkAndTheTitleBarEachCloseItAndItComesBackCentred) {
    testing_support::ScriptedDialogs dialogs;
    ui::TAboutBox about;
    RECT client;
    GetClientRect(about.handle(), &client);
    EXPECT_EQ(client.right, 594);
    EXPECT_EQ(client.bottom, 309);

    const std::vector<std::pair<std::string, std::function<void()>>> closers = {
        {"Enter", [&] { pressEnter(GetFocus()); }},
        {"OK", [&] { SendMessageA(about.OKButton.handle(), BM_CLICK, 0, 0); }},
        {"title bar", [&] { PostMessageA(about.handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& [how, closeIt] : closers) {
        bool centred = false;
        DuringNextLoop whileUp([&] {
            centred = topLeft(about.handle()) == centredOnScreen(about.handle());
            // Moved by the user while up; the next showing centres it again.
            SetWindowPos(about.handle(), nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            closeIt();
        });
        int result = about.showModal();
        EXPECT_TRUE(whileUp.ran()) << how;
        EXPECT_TRUE(centred) << how;
        EXPECT_EQ(result, how == "title bar" ? IDCANCEL : IDOK) << how;
        EXPECT_FALSE(about.visible()) << how;
        EXPECT_TRUE(IsWindow(about.handle())) << how << ": closing only hides it";
    }
    EXPECT_TRUE(dialogs.log.empty());
}
