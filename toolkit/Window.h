// The one window procedure of the toolkit's own windows (forms, panels). It
// hands each message to its C++ object and catches every exception there:
// an exception must not cross user32 (on x64 Windows it would be swallowed
// or fatal), so it is reported by the application and the program goes on.
#pragma once

#include <windows.h>

#include <string>

namespace tk {

class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    virtual LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

HWND createToolkitWindow(MessageTarget& target, const std::string& caption, DWORD style,
                         DWORD exStyle, const RECT& rect, HWND parent);

} // namespace tk
