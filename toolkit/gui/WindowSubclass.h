// A procedure put in front of a control's window (the system's window
// subclassing) that finds its control in the reference data the system hands
// it with every message, rather than looking the control up per message.
// The control owns it as its last member, so it goes first when the control
// goes, before the control's window is destroyed; when the window goes first,
// the procedure removes it at WM_NCDESTROY.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace tk {

class WindowSubclass {
public:
    WindowSubclass() = default;
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;
    ~WindowSubclass() { remove(); }

    // Puts `procedure` in front of `window`, handing it `owner` with every
    // message; again for the same window, nothing changes. Raises "Error
    // creating window" when the system refuses.
    void install(HWND window, SUBCLASSPROC procedure, void* owner);
    void remove();

    // The owner a procedure was handed.
    template <typename Owner> static Owner& owner(DWORD_PTR data) {
        return *reinterpret_cast<Owner*>(data);
    }

private:
    HWND window_ = nullptr;
    SUBCLASSPROC procedure_ = nullptr;
};

} // namespace tk
