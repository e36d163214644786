// Test support: the order in which the system's sorted list box (the file
// list's model) puts names, for listings to be compared against.
#pragma once

#include "toolkit/gui/WindowHandles.h"
#include "toolkit/text/CodePage.h"

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

inline std::vector<std::string> sortedListBoxOrder(const std::vector<std::string>& names) {
    tk::WindowHandle box(CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | LBS_SORT | LBS_HASSTRINGS,
                                         0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr));
    for (const std::string& name : names)
        SendMessageW(box.get(), LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(tk::utf8ToWide(name).c_str()));
    std::vector<std::string> order;
    for (int row = 0; row < static_cast<int>(names.size()); ++row) {
        wchar_t text[MAX_PATH] = {};
        SendMessageW(box.get(), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        order.push_back(tk::wideToUtf8(text));
    }
    return order;
}

} // namespace testing_support
