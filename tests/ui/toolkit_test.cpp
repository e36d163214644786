#include "support/RowSources.h"
#include "support/ScriptedDialogs.h"
#include "support/UnicodeNames.h"
#include "toolkit/base/Error.h"
#include "toolkit/gui/Application.h"
#include "toolkit/gui/Form.h"
#include "toolkit/gui/Graphics.h"
#include "toolkit/gui/ListBox.h"
#include "toolkit/gui/Panel.h"
#include "toolkit/gui/SearchableListBox.h"
#include "toolkit/gui/Windowed.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/OrdinalCase.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// Every object a window may be linked to, once it is gone; a message that
// reaches a window still linked to one of them would reach a dead object.
std::set<const void*> dead;
int messagesToDeadObjects = 0;

void died(const void* object) {
    dead.insert(object);
}

LRESULT CALLBACK watchDelivery(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && (dead.count(tk::targetOf(sent->hwnd)) ||
                              dead.count(tk::WinControl::fromHandle(sent->hwnd))))
        ++messagesToDeadObjects;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The rows a list box holds by now, asked of the system's own list box
// procedure, past anything in front of it that would take pending rows in.
LRESULT rowsHeld(HWND list) {
    auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list, GCLP_WNDPROC));
    return CallWindowProcW(own, list, LB_GETCOUNT, 0, 0);
}

struct WatchedPanel : tk::Panel {
    using Panel::Panel;
    ~WatchedPanel() override {
        died(static_cast<tk::MessageTarget*>(this));
        died(static_cast<tk::WinControl*>(this));
    }
};

struct WatchedEdit : tk::Edit {
    using Edit::Edit;
    ~WatchedEdit() override { died(static_cast<tk::WinControl*>(this)); }
};

// A press that gives the mouse capture up at once, as a window drag does.
struct Grip : tk::Graphic {
    using Graphic::Graphic;
    void paint(HDC) override {}
    void mouseDown(POINT, int) override { ReleaseCapture(); }
    void mouseUp(POINT, int) override { ++releases; }
    int releases = 0;
};

struct Hot : tk::Graphic {
    using Graphic::Graphic;
    void paint(HDC) override {}
    void mouseEnter() override { ++entered; }
    int entered = 0;
};

// Marks its form dead once every control of the form is gone, right before
// the form's own part goes: until then the form part is alive and receives
// its window's messages, one closing child window at a time.
struct FormDeath {
    const void* form;
    ~FormDeath() { died(form); }
};

struct TestForm : tk::Form {
    TestForm() : Form({.caption = "Toolkit", .clientWidth = 200, .clientHeight = 120}) {}

    FormDeath death{static_cast<tk::MessageTarget*>(this)};

    Grip grip{*this, {0, 0, 50, 50}};
    Hot hot{*this, {60, 0, 50, 50}};
    WatchedPanel outer{*this, {0, 60, 200, 60}, {}};
    WatchedPanel inner{outer, {5, 5, 100, 50}, {}};
    WatchedEdit edit{inner, {5, 5, 80, 20}, tk::silver};
    tk::ListBox list{outer, {110, 5, 80, 50}};
};

LPARAM at(int x, int y) {
    return MAKELPARAM(x, y);
}

class Toolkit : public ::testing::Test {
protected:
    void TearDown() override {
        dead.clear();
        messagesToDeadObjects = 0;
    }
};

TEST_F(Toolkit, AFormDestroyedWithItsWindowsOpenSendsNothingToDeadObjects) {
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watchDelivery, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    HWND window = nullptr;
    HWND editWindow = nullptr;
    {
        TestForm form;
        form.show();
        form.edit.setFocus();
        window = form.handle();
        editWindow = form.edit.handle();
    }
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(messagesToDeadObjects, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(editWindow));
}

TEST_F(Toolkit, ControlsOutlivedByTheirWindowsLeaveThemAlone) {
    TestForm form;
    HWND list = form.list.handle();
    DestroyWindow(form.handle());
    EXPECT_EQ(form.handle(), nullptr) << "the form forgets a window that is gone";
    EXPECT_FALSE(IsWindow(list));
}

TEST_F(Toolkit, ReleasingTheCaptureInsideAPressLeavesNoPressedControl) {
    TestForm form;
    form.show();
    SendMessageA(form.handle(), WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));
    EXPECT_NE(GetCapture(), form.handle());

    SendMessageA(form.handle(), WM_LBUTTONUP, 0, at(10, 10));
    EXPECT_EQ(form.grip.releases, 0) << "a release reached the control that gave up the press";
    SendMessageA(form.handle(), WM_MOUSEMOVE, 0, at(70, 10));
    EXPECT_EQ(form.hot.entered, 1) << "hover tracking goes on as with no press";
}

TEST_F(Toolkit, RowsGivenForWhenIdleGoInWhenAskedForOrWhenTheThreadIsIdle) {
    TestForm form;
    form.list.hide();
    HWND list = form.list.handle();
    // Rows in UTF-8, in any letters: the window keeps them in UTF-16.
    const std::vector<std::string> rows{"pacman.zip", testing_support::japaneseName + ".zip",
                                        testing_support::emojiName + ".zip", ""};
    form.list.assignWhenIdle(testing_support::rowsOf(rows));
    EXPECT_EQ(rowsHeld(list), 0) << "nothing went in at once";

    // Another thread asks, as another program would, while this one only
    // answers sent messages and dispatches nothing.
    std::atomic<bool> answered = false;
    LRESULT count = 0;
    std::wstring outside;
    std::thread asker([&] {
        count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        wchar_t text[64] = {};
        SendMessageW(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
        outside = text;
        answered = true;
    });
    MSG message;
    while (!answered)
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    asker.join();
    EXPECT_EQ(count, 4);
    EXPECT_EQ(outside, tk::utf8ToWide(rows[2])) << "another program reads the letters";
    EXPECT_EQ(form.list.items(), rows);

    std::vector<std::string> owned{"dkong.zip", "1942.zip"};
    form.list.assignWhenIdle(testing_support::rowsOf(owned));
    EXPECT_EQ(rowsHeld(list), 4);
    owned.push_back("galaxian.zip");
    tk::application().processMessages();
    EXPECT_EQ(form.list.items(),
              (std::vector<std::string>{"dkong.zip", "1942.zip", "galaxian.zip"}))
        << "the idle thread took the rows in as their owner holds them then";

    const std::vector<std::string> zaxxon{"zaxxon.zip"}, mspacman{"mspacman.zip"};
    form.list.assignWhenIdle(testing_support::rowsOf(zaxxon));
    form.list.clear();
    tk::application().processMessages();
    EXPECT_EQ(rowsHeld(list), 0) << "clearing dropped the pending rows";
    form.list.assignWhenIdle(testing_support::rowsOf(zaxxon));
    form.list.assign(testing_support::rowsOf(mspacman));
    EXPECT_EQ(form.list.items(), mspacman) << "rows given at once replace the pending ones";
}

TEST_F(Toolkit, TheWindowTakesTheRegionOnlyWhenItAcceptsIt) {
    TestForm form;
    tk::RegionHandle accepted(CreateRectRgn(0, 0, 40, 30));
    EXPECT_TRUE(form.setRegion(accepted));
    EXPECT_FALSE(accepted) << "the window owns an accepted region";
    tk::RegionHandle applied(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(form.handle(), applied.get()), SIMPLEREGION);
    RECT box{};
    GetRgnBox(applied.get(), &box);
    EXPECT_EQ(box.right - box.left, 40);
    EXPECT_EQ(box.bottom - box.top, 30);

    DestroyWindow(form.handle());
    tk::RegionHandle refused(CreateRectRgn(0, 0, 10, 10));
    EXPECT_FALSE(form.setRegion(refused));
    EXPECT_EQ(GetObjectType(refused.get()), static_cast<DWORD>(OBJ_REGION))
        << "a refused region stays with its owner";
}

// An error report that notes its text, then fails itself.
struct FailingReport : testing_support::ScriptedDialogs {
    void errorReport(const std::string& text) override {
        ScriptedDialogs::errorReport(text);
        throw tk::Error("the report failed");
    }
};

struct FailingForm : tk::Form {
    FailingForm() : Form({.caption = "Failing", .clientWidth = 100, .clientHeight = 60}) {
        button.onClick = [] { throw tk::Error("Button failed"); };
    }
    tk::PushButton button{*this, {8, 8, 75, 25}, "Fail"};

protected:
    void onShow() override { throw std::runtime_error("Show failed"); }
};

TEST(ErrorReport, AReportThatFailsItselfLetsNoExceptionOutOfAHandlersCatch) {
    FailingReport dialogs;
    FailingForm form;
    EXPECT_NO_THROW(form.show());
    EXPECT_TRUE(form.visible());
    EXPECT_NO_THROW(SendMessageA(form.button.handle(), BM_CLICK, 0, 0));
    EXPECT_EQ(dialogs.texts("error"), (std::vector<std::string>{"Show failed.", "Button failed."}));
}

// A list as long as the longest ROM sets, with the rows a search for
// "mortal k" passes on its way far down the list.
struct LongListForm : tk::Form {
    static constexpr int rowCount = 200'000;
    static constexpr int kombat = 150'001;

    LongListForm() : Form({.caption = "Long list", .clientWidth = 200, .clientHeight = 120}) {
        for (int i = 0; i < rowCount; ++i)
            rows.push_back("Game " + std::to_string(i));
        rows[30'000] = "Kick Boxing";
        rows[kombat - 1] = "Mortal Combat (bootleg)";
        rows[kombat] = "Mortal Kombat (rev 5.0 T-Unit 03/19/93)";
        rows[rowCount - 1] = "MORTAL KOMBAT II";
        list.assign(testing_support::rowsOf(rows));
    }

    // Types `keys` into the list as a person does, one key every `gap` ms.
    // The system posts a typed character once the window has taken the key
    // before it, stamped with that moment: a window still busy with one key
    // delays the next, and may stretch the pause between them.
    void type(std::wstring_view keys, DWORD gap) {
        DWORD due = GetTickCount();
        for (wchar_t key : keys) {
            if (DWORD now = GetTickCount(); static_cast<int>(due - now) > 0)
                Sleep(due - now);
            PostMessageW(list.handle(), WM_CHAR, key, 0);
            tk::application().processMessages();
            due += gap;
        }
    }

    std::vector<std::string> rows;
    tk::SearchableListBox list{*this, {0, 0, 200, 120}};
};

TEST(SearchableList, TypingAtNormalSpeedFindsTheRowFarDownALongList) {
    LongListForm form;
    form.type(L"mortal k", 120);
    EXPECT_EQ(form.list.itemIndex(), LongListForm::kombat);

    DWORD start = GetTickCount();
    form.type(L"q", 0);
    EXPECT_LT(GetTickCount() - start, 500u) << "a key that matches nothing is quick";
    EXPECT_EQ(form.list.itemIndex(), LongListForm::kombat) << "and leaves the selection";
    EXPECT_EQ(form.list.findPrefix(L"mortal kombat i"), LongListForm::rowCount - 1);
    EXPECT_EQ(form.list.row(LongListForm::kombat), tk::utf8ToWide(form.rows[LongListForm::kombat]));
}

TEST(SearchableList, TheWindowHoldsEveryRowAsTextForWhoeverReadsIt) {
    LongListForm form;
    ASSERT_EQ(SendMessageW(form.list.handle(), LB_GETCOUNT, 0, 0), LongListForm::rowCount);
    // Asked of the window, a row costs tens of microseconds under Wine: rows
    // spread over the whole list, the last among them.
    int differing = 0;
    for (int i = LongListForm::rowCount - 1; i >= 0; i -= 997)
        differing +=
            form.list.unicodeItem(i) != tk::utf8ToWide(form.rows[static_cast<std::size_t>(i)]);
    EXPECT_EQ(differing, 0);

    using namespace std::string_literals;
    const std::vector<std::string> nul{"Pac-Man\0 and what follows a NUL"s, "Galaga"};
    form.list.assign(testing_support::rowsOf(nul));
    EXPECT_EQ(form.list.row(0), L"Pac-Man") << "a row ends at its first NUL, in memory";
    EXPECT_EQ(form.list.unicodeItem(0), L"Pac-Man") << "as in the window";
    EXPECT_EQ(form.list.findPrefix(L"pac-man and"), -1) << "and when searched";
    EXPECT_EQ(form.list.row(2), L"");
    form.list.clear();
    EXPECT_EQ(form.list.count(), 0);
    EXPECT_EQ(form.list.findPrefix(L"G"), -1);
}

TEST(SearchableList, UpperCaseFormsMatchExactlyTheUnitsThatOrdinalComparisonMatches) {
    // Sorted by their upper-case forms, every unit compares with the next as
    // those forms do: then two units match ignoring case exactly when their
    // forms are equal, whatever the script.
    std::vector<wchar_t> units(0x10000);
    std::iota(units.begin(), units.end(), wchar_t(0));
    std::stable_sort(units.begin(), units.end(), [](wchar_t a, wchar_t b) {
        return tk::ordinalUpper(a) < tk::ordinalUpper(b);
    });
    std::vector<std::pair<int, int>> differing;
    for (std::size_t i = 1; i < units.size(); ++i) {
        wchar_t a = units[i - 1];
        wchar_t b = units[i];
        int expected = tk::ordinalUpper(a) == tk::ordinalUpper(b) ? CSTR_EQUAL : CSTR_LESS_THAN;
        if (CompareStringOrdinal(&a, 1, &b, 1, TRUE) != expected)
            differing.emplace_back(a, b);
    }
    EXPECT_TRUE(differing.empty())
        << differing.size() << " pairs, the first U+" << std::hex << differing.front().first
        << " and U+" << differing.front().second;
}

// A list narrower than one of its rows, on the screen, worked with the
// pointer and the keys.
struct CutRowForm : tk::Form {
    CutRowForm() : Form({.caption = "Cut rows", .clientWidth = 120, .clientHeight = 80}) {
        list.assign(testing_support::rowsOf(rows));
        show();
        list.setFocus();
    }

    // The pointer on the row's text or at `at`; the system tells of its
    // leaving within a moment.
    RECT pointAt(int row, std::optional<POINT> at = {}) {
        RECT rect{};
        SendMessageW(list.handle(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        MapWindowPoints(list.handle(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
        POINT to = at.value_or(POINT{rect.left + 4, (rect.top + rect.bottom) / 2});
        SetCursorPos(to.x, to.y);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 200; Sleep(10))
            tk::application().processMessages();
        return rect;
    }
    void press(WPARAM key) {
        PostMessageW(list.handle(), WM_KEYDOWN, key, 0);
        tk::application().processMessages();
    }
    // The text of the tooltip shown over the list, and where it is.
    std::optional<std::pair<std::wstring, RECT>> tip() const {
        HWND tip = nullptr;
        auto visibleTip = [](HWND window, LPARAM found) {
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (IsWindowVisible(window) && std::wstring_view(name) == TOOLTIPS_CLASSW)
                *reinterpret_cast<HWND*>(found) = window;
            return TRUE;
        };
        EnumThreadWindows(GetCurrentThreadId(), visibleTip, reinterpret_cast<LPARAM>(&tip));
        if (!tip)
            return std::nullopt;
        wchar_t text[512] = {};
        TTTOOLINFOW tool{sizeof(tool)};
        tool.hwnd = list.handle();
        tool.uId = reinterpret_cast<UINT_PTR>(list.handle());
        tool.lpszText = text;
        SendMessageW(tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
        RECT rect;
        GetWindowRect(tip, &rect);
        return std::pair(std::wstring(text), rect);
    }

    std::vector<std::string> rows{"Pong", "Mortal Kombat (rev 5.0 T-Unit 03/19/93)", "Galaga"};
    tk::SearchableListBox list{*this, {0, 0, 120, 80}};
};

TEST(SearchableList, ACutRowShowsWholeInATipOverItWhileThePointerRestsThere) {
    CutRowForm form;
    RECT row = form.pointAt(1);
    auto tip = form.tip();
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->first, L"Mortal Kombat (rev 5.0 T-Unit 03/19/93)");
    EXPECT_TRUE(PtInRect(&tip->second, {row.left + 2, (row.top + row.bottom) / 2}))
        << "laid over the row";
    EXPECT_GT(tip->second.right, row.right) << "as wide as the text";

    form.pointAt(2);
    EXPECT_FALSE(form.tip()) << "a row that fits needs none";
    form.pointAt(1);
    form.press(VK_DOWN);
    EXPECT_FALSE(form.tip()) << "a key ends it";
    form.pointAt(0);
    form.pointAt(1);
    ASSERT_TRUE(form.tip());
    form.pointAt(1, POINT{row.right + 200, row.bottom + 200});
    EXPECT_FALSE(form.tip()) << "the pointer left the list";
}

TEST(SearchableList, TheFocusRectangleShowsOnceTheKeysAreUsed) {
    CutRowForm form;
    form.list.setItemIndex(0);
    // The pixels of the selected row's left edge that are not its highlight.
    auto framed = [&] {
        UpdateWindow(form.list.handle());
        RECT row{};
        SendMessageW(form.list.handle(), LB_GETITEMRECT, form.list.itemIndex(),
                     reinterpret_cast<LPARAM>(&row));
        HDC dc = GetDC(form.list.handle());
        int marked = 0;
        for (int y = row.top; y < row.bottom; ++y)
            marked += GetPixel(dc, row.left, y) != GetSysColor(COLOR_HIGHLIGHT);
        ReleaseDC(form.list.handle(), dc);
        return marked;
    };
    auto cueHidden = [&] {
        return (SendMessageW(form.list.handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    };
    BOOL alwaysShown = FALSE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &alwaysShown, 0);
    EXPECT_EQ(cueHidden(), !alwaysShown) << "worked with the mouse so far";
    EXPECT_EQ(framed() == 0, !alwaysShown);
    form.press(VK_DOWN);
    EXPECT_FALSE(cueHidden());
    EXPECT_GT(framed(), 0) << "the focused row is framed";
}

} // namespace
