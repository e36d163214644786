#include "toolkit/gui/Form.h"

#include "toolkit/gui/Application.h"

#include <algorithm>

namespace tk {
namespace {

DWORD styleOf(Frame frame) {
    switch (frame) {
    case Frame::none:
        return WS_POPUP | WS_CLIPCHILDREN;
    case Frame::dialog:
        return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    case Frame::sizeable:
        return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
               WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
    }
    return WS_POPUP;
}

DWORD exStyleOf(Frame frame) {
    return frame == Frame::dialog ? WS_EX_DLGMODALFRAME : 0;
}

} // namespace

Form::Form(const FormDesign& design)
    : color_(design.color), font_(design.font), hideOnClose_(design.hideOnClose),
      position_(design.position), centredOnEveryShow_(design.centredOnEveryShow) {
    RECT rect{0, 0, design.clientWidth, design.clientHeight};
    AdjustWindowRectEx(&rect, styleOf(design.frame), FALSE, exStyleOf(design.frame));
    OffsetRect(&rect, -rect.left, -rect.top);
    window_ = createToolkitWindow(*this, design.caption, styleOf(design.frame),
                                  exStyleOf(design.frame), rect, application().window());
}

Form::~Form() {
    if (window_)
        destroyDetached(window_);
}

void Form::placeOnScreen() {
    RECT rect;
    GetWindowRect(window_, &rect);
    POINT at =
        position_.value_or(POINT{(GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2,
                                 (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2});
    SetWindowPos(window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::show() {
    if (!positioned_) {
        positioned_ = true;
        try {
            onShow();
        } catch (...) {
            application().reportCurrentException();
        }
        placeOnScreen();
    } else if (centredOnEveryShow_) {
        placeOnScreen();
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

void Form::hide() {
    ShowWindow(window_, SW_HIDE);
}

bool Form::visible() const {
    return IsWindowVisible(window_) != FALSE;
}

void Form::close() {
    SendMessageW(window_, WM_CLOSE, 0, 0);
}

int Form::showModal() {
    std::vector<HWND> disabled = threadWindows();
    std::erase_if(disabled,
                  [](HWND window) { return !IsWindowVisible(window) || !IsWindowEnabled(window); });
    modalResult_ = 0;
    HWND activeBefore = GetActiveWindow();
    {
        // The other windows come back and the form goes, however the loop ends.
        // The window that was active before is so again, rather than
        // whichever the system would pick once the form is hidden.
        ScopeExit restore([&] {
            modal_ = false;
            for (HWND window : disabled)
                EnableWindow(window, TRUE);
            if (activeBefore && IsWindowVisible(activeBefore))
                SetActiveWindow(activeBefore);
            hide();
        });
        for (HWND window : disabled)
            EnableWindow(window, FALSE);
        modal_ = true;
        show();
        application().runModalLoop([this] { return modalResult_ != 0 || !visible(); });
    }
    if (modalResult_ == 0)
        modalResult_ = IDCANCEL;
    return modalResult_;
}

void Form::repaintNow() {
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
}

void Form::removeBorder() {
    RECT client;
    GetClientRect(window_, &client);
    auto kept =
        static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)) & (WS_VISIBLE | WS_DISABLED);
    SetWindowLongPtrW(window_, GWL_STYLE, styleOf(Frame::none) | kept);
    SetWindowLongPtrW(window_, GWL_EXSTYLE, exStyleOf(Frame::none));
    SetWindowPos(window_, nullptr, 0, 0, client.right, client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool Form::setRegion(RegionHandle& region) {
    if (!SetWindowRgn(window_, region.get(), TRUE))
        return false;
    // The window owns it now: the handle is given up, not deleted.
    static_cast<void>(region.release());
    return true;
}

Form* Form::owning(HWND window) {
    HWND top = GetAncestor(window, GA_ROOT);
    return top ? dynamic_cast<Form*>(targetOf(top)) : nullptr;
}

std::vector<WinControl*> Form::windowedControls() const {
    std::vector<WinControl*> order;
    for (Control* control : controls())
        if (WinControl* windowed = control->asWinControl())
            windowed->collectFocusOrder(order);
    return order;
}

bool Form::preDispatch(const MSG& message) {
    if (message.message != WM_KEYDOWN)
        return false;
    if (message.wParam == VK_TAB) {
        focusNext(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return message.wParam == VK_RETURN && pressDefaultButton();
}

bool Form::pressDefaultButton() {
    for (WinControl* control : windowedControls())
        if (control->pressAsDefault())
            return true;
    return false;
}

void Form::focusNext(bool backwards) {
    std::vector<WinControl*> order = windowedControls();
    std::erase_if(order, [](WinControl* c) {
        return !c->tabStop() || !IsWindowVisible(c->handle()) || !IsWindowEnabled(c->handle());
    });
    if (order.empty())
        return;
    auto current = std::find_if(order.begin(), order.end(), [](WinControl* c) {
        return c->handle() == GetFocus() || IsChild(c->handle(), GetFocus());
    });
    std::ptrdiff_t n = static_cast<std::ptrdiff_t>(order.size());
    std::ptrdiff_t at = current == order.end() ? (backwards ? 0 : -1) : current - order.begin();
    order[static_cast<size_t>((at + (backwards ? n - 1 : 1)) % n)]->setFocus();
}

void Form::setActiveControl(WinControl& control) {
    activeControl_ = control.handle();
    if (GetActiveWindow() == window_)
        SetFocus(activeControl_);
}

bool Form::restoreFocus() {
    HWND control = activeControl_;
    if (!control || !IsChild(window_, control) || !IsWindowVisible(control) ||
        !IsWindowEnabled(control))
        return false;
    SetFocus(control);
    return true;
}

LRESULT Form::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (handleContainerMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_ACTIVATE:
        // Left alone, activation would put the focus on the form itself.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && IsChild(window, focus))
                activeControl_ = focus;
        } else if (!HIWORD(wParam) && restoreFocus()) {
            return 0;
        }
        break;
    case WM_TIMER:
        onTimer(wParam);
        return 0;
    case WM_CLOSE:
        if (hideOnClose_ || modal_) {
            hide();
            return 0;
        }
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (application().mainForm() == this)
            application().terminate();
        return 0;
    case WM_NCDESTROY:
        window_ = nullptr;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace tk
