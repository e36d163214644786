#include "toolkit/Window.h"

#include "toolkit/Application.h"
#include "toolkit/Error.h"

namespace tk {
namespace {

constexpr char className[] = "KestonWindow";

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* target = reinterpret_cast<MessageTarget*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!target)
        return DefWindowProcA(window, message, wParam, lParam);
    try {
        return target->handleMessage(window, message, wParam, lParam);
    } catch (...) {
        application().reportCurrentException();
        return 0;
    }
}

void registerClassOnce() {
    static bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = windowProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.lpszClassName = className;
        return RegisterClassExA(&windowClass) != 0;
    }();
    (void)registered;
}

} // namespace

HWND createToolkitWindow(MessageTarget& target, const std::string& caption, DWORD style,
                         DWORD exStyle, const RECT& rect, HWND parent) {
    registerClassOnce();
    HWND window = CreateWindowExA(exStyle, className, caption.c_str(), style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                  GetModuleHandleA(nullptr), &target);
    if (!window)
        throw Error("Error creating window");
    return window;
}

} // namespace tk
