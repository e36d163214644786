#include "toolkit/gui/Window.h"

#include "toolkit/base/Error.h"
#include "toolkit/gui/Application.h"
#include "toolkit/text/CodePage.h"

#include <cwchar>
#include <exception>
#include <iterator>
#include <map>
#include <mutex>

namespace tk {
namespace {

constexpr wchar_t className[] = L"KestonWindow";

// Work posted to windows, by the key its message carries: a message with a
// key that is not here (another program can post anything) does nothing.
class PostedWork {
public:
    // Among the private messages, below the registered ones (0xC000 on),
    // which other programs broadcast.
    static constexpr UINT message = WM_APP + 0x0B50;

    bool post(HWND window, std::function<void()> work) {
        std::uintptr_t key;
        {
            std::lock_guard lock(mutex_);
            key = ++lastKey_;
            waiting_.emplace(key, Entry{window, std::move(work)});
        }
        if (PostMessageW(window, message, 0, static_cast<LPARAM>(key)))
            return true;
        std::lock_guard lock(mutex_);
        waiting_.erase(key);
        return false;
    }

    std::function<void()> take(HWND window, LPARAM key) {
        std::lock_guard lock(mutex_);
        auto found = waiting_.find(static_cast<std::uintptr_t>(key));
        if (found == waiting_.end() || found->second.window != window)
            return {};
        std::function<void()> work = std::move(found->second.work);
        waiting_.erase(found);
        return work;
    }

    // A window's messages die with it; so does its work.
    void forget(HWND window) {
        std::lock_guard lock(mutex_);
        std::erase_if(waiting_,
                      [window](const auto& entry) { return entry.second.window == window; });
    }

private:
    struct Entry {
        HWND window;
        std::function<void()> work;
    };
    std::mutex mutex_;
    std::uintptr_t lastKey_ = 0;
    std::map<std::uintptr_t, Entry> waiting_;
};

// Never destroyed: worker threads may still post while the program ends.
PostedWork& postedWork() {
    static PostedWork& instance = *new PostedWork;
    return instance;
}

void link(HWND window, MessageTarget* target) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
}

MessageTarget* linked(HWND window) {
    return reinterpret_cast<MessageTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        link(window,
             static_cast<MessageTarget*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    MessageTarget* target = linked(window);
    if (message == WM_NCDESTROY)
        postedWork().forget(window);
    if (!target)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        link(window, nullptr);
    try {
        if (message == PostedWork::message) {
            if (std::function<void()> work = postedWork().take(window, lParam))
                work();
            return 0;
        }
        return target->handleMessage(window, message, wParam, lParam);
    } catch (...) {
        application().reportCurrentException();
        return 0;
    }
}

void registerClassOnce() {
    static bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = windowProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.lpszClassName = className;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

bool isToolkitWindow(HWND window) {
    wchar_t name[std::size(className) + 1] = {};
    return GetClassNameW(window, name, static_cast<int>(std::size(name))) > 0 &&
           std::wcscmp(name, className) == 0;
}

} // namespace

HWND createToolkitWindow(MessageTarget& target, const std::string& caption, DWORD style,
                         DWORD exStyle, const RECT& rect, HWND parent) {
    registerClassOnce();
    HWND window = CreateWindowExW(exStyle, className, utf8ToWide(caption).c_str(), style, rect.left,
                                  rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                  nullptr, GetModuleHandleW(nullptr), &target);
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

bool postToWindow(HWND window, std::function<void()> work) {
    return postedWork().post(window, std::move(work));
}

} // namespace tk
