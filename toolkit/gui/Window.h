// The one window procedure of the toolkit's own windows (forms, panels). It
// hands each message to its C++ object and catches every exception there:
// an exception must not cross user32 (on x64 Windows it would be swallowed
// or fatal), so it is reported by the application and the program goes on.
// A window never outlives the link to its object: the procedure forgets the
// object at WM_NCDESTROY, and an object going first cuts the link before it
// destroys its window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tk {

class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    // WM_NCDESTROY still arrives here, as the last message, after the link is cut.
    virtual LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// The caption is UTF-8, as every text in the program.
[[nodiscard]] HWND createToolkitWindow(MessageTarget& target, const std::string& caption,
                                       DWORD style, DWORD exStyle, const RECT& rect, HWND parent);

// The object of a toolkit window; null for other windows and once detached.
MessageTarget* targetOf(HWND window);

// Cuts the window's link to its object, then destroys it with its children.
void destroyDetached(HWND window);

// The current thread's top-level windows, collected without letting an
// exception cross the enumeration callback.
std::vector<HWND> threadWindows();

// Runs `work` on the thread of a toolkit window, in its window procedure
// after the messages already waiting, so a worker thread can hand its result
// to the user interface. Callable from any thread. Work for a window that is
// destroyed before it runs is dropped; false when it could not be posted.
bool postToWindow(HWND window, std::function<void()> work);

} // namespace tk
