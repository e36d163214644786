#include "toolkit/gui/Window.h"

#include "toolkit/base/Error.h"
#include "toolkit/gui/Application.h"

#include <cstring>
#include <exception>

namespace tk {
namespace {

constexpr char className[] = "KestonWindow";

void link(HWND window, MessageTarget* target) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
}

MessageTarget* linked(HWND window) {
    return reinterpret_cast<MessageTarget*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        link(window,
             static_cast<MessageTarget*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    MessageTarget* target = linked(window);
    if (!target)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        link(window, nullptr);
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

bool isToolkitWindow(HWND window) {
    char name[sizeof className + 1] = {};
    return GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, className) == 0;
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

MessageTarget* targetOf(HWND window) {
    if (!isToolkitWindow(window))
        return nullptr;
    return linked(window);
}

void destroyDetached(HWND window) {
    if (!IsWindow(window))
        return;
    if (isToolkitWindow(window))
        link(window, nullptr);
    DestroyWindow(window);
}

std::vector<HWND> threadWindows() {
    struct Collected {
        std::vector<HWND> windows;
        std::exception_ptr error;
    } collected;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto& into = *reinterpret_cast<Collected*>(data);
            try {
                into.windows.push_back(window);
                return TRUE;
            } catch (...) {
                into.error = std::current_exception();
                return FALSE;
            }
        },
        reinterpret_cast<LPARAM>(&collected));
    if (collected.error)
        std::rethrow_exception(collected.error);
    return std::move(collected.windows);
}

} // namespace tk
