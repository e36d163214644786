// Small RAII owners for Win32 handles: no raw CloseHandle or DeleteObject in
// program code.
#pragma once

#include <windows.h>

#include <utility>

namespace tk {

template <typename Traits> class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Type get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::null(); }
    Type release() { return std::exchange(handle_, Traits::null()); }
    void reset(Type handle = Traits::null()) {
        if (handle_ != Traits::null())
            Traits::close(handle_);
        handle_ = handle;
    }

private:
    Type handle_ = Traits::null();
};

struct KernelTraits {
    using Type = HANDLE;
    static Type null() { return nullptr; }
    static void close(Type h) { CloseHandle(h); }
};
struct FileTraits {
    using Type = HANDLE;
    static Type null() { return INVALID_HANDLE_VALUE; }
    static void close(Type h) { CloseHandle(h); }
};
struct FindTraits {
    using Type = HANDLE;
    static Type null() { return INVALID_HANDLE_VALUE; }
    static void close(Type h) { FindClose(h); }
};
template <typename T> struct GdiTraits {
    using Type = T;
    static Type null() { return nullptr; }
    static void close(Type h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    using Type = HDC;
    static Type null() { return nullptr; }
    static void close(Type h) { DeleteDC(h); }
};
struct KeyTraits {
    using Type = HKEY;
    static Type null() { return nullptr; }
    static void close(Type h) { RegCloseKey(h); }
};
struct WindowTraits {
    using Type = HWND;
    static Type null() { return nullptr; }
    static void close(Type h) { DestroyWindow(h); }
};
struct IconTraits {
    using Type = HICON;
    static Type null() { return nullptr; }
    static void close(Type h) { DestroyIcon(h); }
};
struct MetafileTraits {
    using Type = HENHMETAFILE;
    static Type null() { return nullptr; }
    static void close(Type h) { DeleteEnhMetaFile(h); }
};

using KernelHandle = UniqueHandle<KernelTraits>;
using FileHandle = UniqueHandle<FileTraits>;
using FindHandle = UniqueHandle<FindTraits>;
using BitmapHandle = UniqueHandle<GdiTraits<HBITMAP>>;
using FontHandle = UniqueHandle<GdiTraits<HFONT>>;
using BrushHandle = UniqueHandle<GdiTraits<HBRUSH>>;
using PenHandle = UniqueHandle<GdiTraits<HPEN>>;
using RegionHandle = UniqueHandle<GdiTraits<HRGN>>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
using KeyHandle = UniqueHandle<KeyTraits>;
using WindowHandle = UniqueHandle<WindowTraits>;
using IconHandle = UniqueHandle<IconTraits>;
using MetafileHandle = UniqueHandle<MetafileTraits>;

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

// Runs an action at scope exit, also when an exception leaves the scope: the
// second half of a paired call.
template <typename Action> class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { action_(); }

private:
    Action action_;
};

// Selects an object into a DC and restores the previous one on scope exit.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    ~SelectObjectScope() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace tk
