// Owners of windows and of their device contexts.
#pragma once

#include "toolkit/base/Handles.h"

namespace tk {

struct WindowTraits {
    using Type = HWND;
    static Type null() { return nullptr; }
    static void close(Type h) { DestroyWindow(h); }
};

using WindowHandle = UniqueHandle<WindowTraits>;

// A window's device context, released on scope exit.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() { ReleaseDC(window_, dc_); }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The DC of one WM_PAINT: BeginPaint on construction, EndPaint on scope exit.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &paint_); }
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

} // namespace tk
