#include "shape/ShapedForm.h"

#include "support/Files.h"
#include "support/PictureFiles.h"
#include "support/StoredShape.h"
#include "support/TempFolder.h"
#include "toolkit/gui/Panel.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace testing_support;

namespace {

// Left, top, width and height.
std::array<int, 4> placeOf(const tk::Control& control) {
    const tk::Bounds& b = control.bounds();
    return {b.left, b.top, b.width, b.height};
}

// The system commands sent to windows of this thread, in order.
std::vector<WPARAM> systemCommands;

LRESULT CALLBACK recordSystemCommands(int code, WPARAM wParam, LPARAM lParam) {
    auto* sent = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_SYSCOMMAND)
        systemCommands.push_back(sent->wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class HookHandle {
public:
    HookHandle()
        : hook_(SetWindowsHookExA(WH_CALLWNDPROC, recordSystemCommands, nullptr,
                                  GetCurrentThreadId())) {}
    HookHandle(const HookHandle&) = delete;
    HookHandle& operator=(const HookHandle&) = delete;
    ~HookHandle() { UnhookWindowsHookEx(hook_); }

private:
    HHOOK hook_;
};

// A sizeable form with the component on it, and a label drawn above it.
class ShapedWindow : public ::testing::Test {
protected:
    void SetUp() override { systemCommands.clear(); }

    bool hasRegion() const {
        tk::RegionHandle copy(CreateRectRgn(0, 0, 0, 0));
        return GetWindowRgn(form.handle(), copy.get()) != ERROR;
    }

    // The button's release is queued first: the system's move loop, which a
    // press on the skin starts, runs until it sees it.
    void press(UINT message, POINT at) {
        LPARAM where = MAKELPARAM(at.x, at.y);
        PostMessageA(form.handle(), WM_LBUTTONUP, 0, where);
        SendMessageA(form.handle(), message, message == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON,
                     where);
        MSG pending;
        while (PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&pending);
    }

    tk::Form form{{.caption = "Shaped", .clientWidth = 340, .clientHeight = 385}};
    shape::TShapedForm shaped{form, {50, 60, 10, 10}};
    tk::Label label{form, {100, 100, 60, 14}, "Label above", {}, true};
};

} // namespace

TEST_F(ShapedWindow, MakesItsFormBorderlessAndCoversItFromTheCorner) {
    auto style = static_cast<DWORD>(GetWindowLongPtrA(form.handle(), GWL_STYLE));
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
    RECT outer;
    GetWindowRect(form.handle(), &outer);
    EXPECT_EQ(outer.right - outer.left, 340);
    EXPECT_EQ(outer.bottom - outer.top, 385);
    EXPECT_EQ(placeOf(shaped), (std::array{0, 0, 340, 385}));

    shaped.setLeft(50);
    shaped.setTop(50);
    shaped.setWidth(120);
    shaped.setHeight(90);
    EXPECT_EQ(placeOf(shaped), (std::array{0, 0, 120, 90}));
}

TEST_F(ShapedWindow, RefusesAParentThatIsNotAForm) {
    tk::Panel panel(form, {0, 0, 100, 100}, {});
    std::size_t controls = panel.controls().size();
    EXPECT_EQ(errorOf([&] {
                  shape::TShapedForm onPanel(panel, {0, 0, 10, 10});
              }),
              "Drop the ShapedForm on a FORM!");
    EXPECT_EQ(panel.controls().size(), controls);
}

TEST_F(ShapedWindow, StoredShapeReachesTheWindowAndWritesBackUnchanged) {
    shape::Bytes payload = storedMainWindowPayload();
    shaped.ReadMask2(payload);
    EXPECT_TRUE(shaped.Mask().region());
    EXPECT_FALSE(shaped.Mask().ownsRegion());
    EXPECT_EQ(shaped.Mask().owner, &shaped);

    tk::RegionHandle copy(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(form.handle(), copy.get()), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(copy.get(), 200, 200));
    EXPECT_FALSE(PtInRegion(copy.get(), 5, 5));
    EXPECT_FALSE(PtInRegion(copy.get(), 30, 30));
    EXPECT_EQ(shaped.WriteMask2(), payload);
}

TEST_F(ShapedWindow, PayloadsWithoutARegionLeaveTheWindowRectangular) {
    shape::Bytes truncated = storedMainWindowPayload();
    truncated.resize(truncated.size() - 16);
    for (const shape::Bytes& payload : {shape::Bytes{0, 0, 0, 0}, truncated}) {
        shaped.ReadMask2(payload);
        EXPECT_FALSE(hasRegion());
        EXPECT_FALSE(shaped.Mask().region());
        EXPECT_EQ(shaped.WriteMask2(), (shape::Bytes{0, 0, 0, 0}));
    }
}

TEST_F(ShapedWindow, APictureChangeKeepsTheShapeAndRepaintsNothing) {
    shaped.ReadMask2(storedMainWindowPayload());
    ValidateRect(form.handle(), nullptr);
    shaped.setPicture(tk::Picture::emptyBitmap());
    EXPECT_FALSE(GetUpdateRect(form.handle(), nullptr, FALSE));
    EXPECT_TRUE(hasRegion());
    EXPECT_FALSE(shaped.Mask().region());
    EXPECT_EQ(shaped.WriteMask2(), (shape::Bytes{0, 0, 0, 0}));
}

TEST_F(ShapedWindow, PicturesOtherThanBitmapsBecomeAnEmptyBitmap) {
    testing_support::TempFolder folder{"keston-shaped"};
    Bytes bytes = iconFile({{16, RGB(0, 0, 255)}});
    std::string icon = folder.write("logo.ico", std::string(bytes.begin(), bytes.end()));

    for (auto make : {+[](const std::string& path) { return tk::Picture::fromFile(path); },
                      +[](const std::string&) { return tk::Picture(); }}) {
        shaped.setPicture(make(icon));
        EXPECT_TRUE(shaped.picture().isBitmap());
        EXPECT_TRUE(shaped.picture().empty());
    }
}

TEST_F(ShapedWindow, OnlyALeftPressThatReachesTheSkinDragsTheWindow) {
    form.show();
    int clicks = 0;
    shaped.onClick = [&] { ++clicks; };
    HookHandle hook;
    press(WM_LBUTTONDOWN, {20, 200});
    EXPECT_EQ(systemCommands, std::vector<WPARAM>{0xF012});
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(clicks, 0);

    systemCommands.clear();
    press(WM_RBUTTONDOWN, {20, 200});
    press(WM_MBUTTONDOWN, {20, 200});
    press(WM_LBUTTONDOWN, {110, 105}); // on the label
    shaped.Draggable = false;
    press(WM_LBUTTONDOWN, {20, 200});
    EXPECT_TRUE(systemCommands.empty());
}

TEST_F(ShapedWindow, AReplacedMaskHolderIsAdoptedAndANullOneIgnored) {
    auto holder = std::make_unique<shape::TRegionType>();
    shape::TRegionType* given = holder.get();
    shaped.setMask(std::move(holder));
    EXPECT_EQ(&shaped.Mask(), given);
    EXPECT_EQ(given->owner, &shaped);
    shaped.setMask(nullptr);
    EXPECT_EQ(&shaped.Mask(), given);
}
