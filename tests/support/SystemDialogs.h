// Test support: the system's dialog windows up on this thread (message boxes,
// the open dialog), read and answered from inside their own message loop
// (see DuringNextLoop).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

std::wstring windowClass(HWND window);
std::wstring windowText(HWND window);

// The visible windows of the system's dialog class on this thread.
std::vector<HWND> dialogWindows();

// A message box as it was on the screen.
struct MessageBoxSeen {
    std::wstring caption;
    std::wstring text;
    RECT box{};     // the box, on the screen
    RECT message{}; // its text control, on the screen
    std::vector<RECT> buttons;
};

// The message box up on this thread, read, then answered with `button`.
MessageBoxSeen readAndAnswer(int button);

} // namespace testing_support
