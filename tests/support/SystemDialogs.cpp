#include "support/SystemDialogs.h"

#include "toolkit/gui/Window.h"

namespace testing_support {

std::wstring windowClass(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

std::vector<HWND> dialogWindows() {
    std::vector<HWND> found;
    for (HWND window : tk::threadWindows()) {
        if (windowClass(window) == L"#32770" && IsWindowVisible(window))
            found.push_back(window);
    }
    return found;
}

MessageBoxSeen readAndAnswer(int button) {
    MessageBoxSeen seen;
    for (HWND window : dialogWindows()) {
        seen.caption = windowText(window);
        GetWindowRect(window, &seen.box);
        // The text is the one static control that has text; the icon's has none.
        EnumChildWindows(
            window,
            [](HWND child, LPARAM into) -> BOOL {
                auto& read = *reinterpret_cast<MessageBoxSeen*>(into);
                std::wstring kind = windowClass(child);
                std::wstring text = windowText(child);
                RECT rect{};
                GetWindowRect(child, &rect);
                if (lstrcmpiW(kind.c_str(), L"Static") == 0 && !text.empty()) {
                    read.text = text;
                    read.message = rect;
                } else if (lstrcmpiW(kind.c_str(), L"Button") == 0 && IsWindowVisible(child)) {
                    read.buttons.push_back(rect);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&seen));
        PostMessageW(window, WM_COMMAND, button, 0);
    }
    return seen;
}

} // namespace testing_support
