#include "toolkit/gui/Control.h"

#include "toolkit/base/Error.h"
#include "toolkit/gui/AccessibleSurface.h"
#include "toolkit/gui/Window.h"
#include "toolkit/pictures/GdiHandles.h"
#include "toolkit/text/CodePage.h"

#include <windowsx.h>

namespace tk {
namespace {

constexpr wchar_t controlProperty[] = L"KestonControl";

} // namespace

Control::Control(Container& parent, Bounds bounds) : bounds_(bounds), parent_(parent) {
    parent.add(*this);
}

Control::~Control() {
    parent_.remove(*this);
}

void Control::setBounds(Bounds bounds) {
    bounds_ = bounds;
}

void Control::setVisible(bool visible) {
    visible_ = visible;
}

Graphic::Graphic(Container& parent, Bounds bounds) : Control(parent, bounds) {}

void Graphic::bringToFront() {
    parent().moveToEnd(*this);
    invalidate();
}

void Graphic::invalidate() {
    RECT rect = bounds_.rect();
    InvalidateRect(parent().containerHandle(), &rect, FALSE);
}

void Graphic::repaintNow() {
    invalidate();
    UpdateWindow(parent().containerHandle());
}

void Graphic::setVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    invalidate();
}

void Graphic::setBounds(Bounds bounds) {
    invalidate();
    bounds_ = bounds;
    invalidate();
}

WinControl::WinControl(Container& parent, Bounds bounds) : Control(parent, bounds) {}

WinControl::~WinControl() {
    // A window that died with its parent left a handle whose value may since
    // name another window: only a window still linked to this is destroyed.
    if (handle_ && fromHandle(handle_) == this) {
        RemovePropW(handle_, controlProperty);
        destroyDetached(handle_);
    }
}

void WinControl::create(const wchar_t* windowClass, DWORD style, DWORD exStyle,
                        const std::string& text, const Font& font) {
    style |= WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0);
    handle_ =
        CreateWindowExW(exStyle, windowClass, utf8ToWide(text).c_str(), style, bounds_.left,
                        bounds_.top, bounds_.width, bounds_.height, parent().containerHandle(),
                        nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!handle_)
        throw Error("Error creating window");
    adopt(handle_, font);
}

void WinControl::adopt(HWND window, const Font& font) {
    handle_ = window;
    SetPropW(handle_, controlProperty, this);
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle()), FALSE);
    // A later control lies above the earlier ones.
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

WinControl* WinControl::fromHandle(HWND window) {
    return static_cast<WinControl*>(GetPropW(window, controlProperty));
}

void WinControl::setVisible(bool visible) {
    visible_ = visible;
    ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void WinControl::setBounds(Bounds bounds) {
    bounds_ = bounds;
    MoveWindow(handle_, bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
}

void WinControl::setFocus() {
    SetFocus(handle_);
}

bool WinControl::focused() const {
    return GetFocus() == handle_;
}

void WinControl::collectFocusOrder(std::vector<WinControl*>& order) {
    order.push_back(this);
}

Container::Container() = default;

Container::~Container() = default;

void Container::remove(Control& control) {
    std::erase(controls_, &control);
    if (hovered_ == &control)
        hovered_ = nullptr;
    if (pressed_ == &control)
        pressed_ = nullptr;
}

void Container::moveToEnd(Control& control) {
    std::erase(controls_, &control);
    controls_.push_back(&control);
}

void Container::repaint() {
    RedrawWindow(containerHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Container::paintBackground(HDC dc, const RECT& client) {
    BrushHandle background(CreateSolidBrush(resolveColor(color())));
    FillRect(dc, &client, background.get());
}

void Container::paintSurface(HDC dc, const RECT& client) {
    paintBackground(dc, client);
    for (Control* control : controls_) {
        auto* graphic = dynamic_cast<Graphic*>(control);
        if (graphic && graphic->visible())
            graphic->paint(dc);
    }
}

Graphic* Container::graphicAt(POINT p) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        auto* graphic = dynamic_cast<Graphic*>(*it);
        if (graphic && graphic->visible() && graphic->takesMouse() && graphic->bounds().contains(p))
            return graphic;
    }
    return nullptr;
}

void Container::trackHover(Graphic* graphic) {
    if (graphic == hovered_)
        return;
    if (hovered_)
        hovered_->mouseLeave();
    hovered_ = graphic;
    if (hovered_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, containerHandle(), 0};
        TrackMouseEvent(&track);
        hovered_->mouseEnter();
    }
}

bool Container::handleContainerMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PaintDc dc(containerHandle());
        RECT client;
        GetClientRect(containerHandle(), &client);
        // Painted off-screen first, so layered controls never flicker.
        MemoryDc memory(CreateCompatibleDC(dc.get()));
        BitmapHandle bitmap(CreateCompatibleBitmap(dc.get(), client.right, client.bottom));
        SelectObjectScope select(memory.get(), bitmap.get());
        paintSurface(memory.get(), client);
        BitBlt(dc.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
        return true;
    }
    case WM_MOUSEMOVE:
        if (!pressed_)
            trackHover(graphicAt(p));
        return true;
    case WM_MOUSELEAVE:
        if (!pressed_)
            trackHover(nullptr);
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        Graphic* graphic = graphicAt(p);
        if (!graphic)
            return false;
        int button = message == WM_RBUTTONDOWN ? 1 : message == WM_MBUTTONDOWN ? 2 : 0;
        if (button == 0) {
            pressed_ = graphic;
            SetCapture(containerHandle());
        }
        graphic->mouseDown(p, button);
        return true;
    }
    case WM_LBUTTONUP:
        if (Graphic* graphic = pressed_) {
            pressed_ = nullptr;
            ReleaseCapture();
            trackHover(graphicAt(p));
            graphic->mouseUp(p, 0);
        }
        return true;
    case WM_CAPTURECHANGED:
        pressed_ = nullptr;
        return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        if (WinControl* control = WinControl::fromHandle(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = control->controlColor(reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    case WM_COMMAND:
        if (WinControl* control = WinControl::fromHandle(reinterpret_cast<HWND>(lParam))) {
            control->command(HIWORD(wParam));
            return true;
        }
        return false;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) != OBJID_CLIENT)
            return false;
        if (!accessible_)
            accessible_ = std::make_unique<AccessibleSurface>(*this);
        result = accessible_->answer(wParam);
        return true;
    case WM_NCDESTROY:
        accessible_.reset();
        return false;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (WinControl* control = WinControl::fromHandle(item.hwndItem)) {
            control->drawItem(item);
            result = TRUE;
            return true;
        }
        return false;
    }
    }
    return false;
}

} // namespace tk
