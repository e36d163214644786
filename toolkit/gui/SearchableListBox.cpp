#include "toolkit/gui/SearchableListBox.h"

#include "toolkit/base/Handles.h"
#include "toolkit/gui/Application.h"

#include <usp10.h>

namespace tk {

SearchableListBox::SearchableListBox(Container& parent, Bounds bounds, ListBoxStyle style)
    : ListBoxWindow(parent, bounds, style, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS) {
    subclass_.install(handle(), &SearchableListBox::procedure, this);
}

void SearchableListBox::assign(const std::vector<std::wstring>& rows) {
    rows_ = ListRows(rows);
    fill(rows_.texts(), rows_.starts());
}

void SearchableListBox::clear() {
    rows_ = ListRows();
    reset();
}

std::wstring_view SearchableListBox::row(int index) const {
    return index < 0 ? std::wstring_view() : rows_[static_cast<std::size_t>(index)];
}

void SearchableListBox::drawItem(const DRAWITEMSTRUCT& item) {
    // The list box has selected its font into the context.
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    if (item.itemID != static_cast<UINT>(-1)) {
        bool selected = item.itemState & ODS_SELECTED;
        SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : colors().background());
        SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : colors().text());
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
        // Uniscribe takes each letter the font lacks from a font that has it,
        // as the system's edit controls do; a plain text output would show
        // a box for it.
        std::wstring_view text = row(static_cast<int>(item.itemID));
        SCRIPT_STRING_ANALYSIS analysis = nullptr;
        if (!text.empty() &&
            SUCCEEDED(ScriptStringAnalyse(dc, text.data(), static_cast<int>(text.size()),
                                          static_cast<int>(text.size()) * 3 / 2 + 16, -1,
                                          SSA_GLYPHS | SSA_FALLBACK, 0, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, &analysis))) {
            ScopeExit free([&] { ScriptStringFree(&analysis); });
            ScriptStringOut(analysis, rect.left + 1, rect.top, ETO_CLIPPED, &rect, 0, 0, FALSE);
        }
    }
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &rect);
}

bool SearchableListBox::findTyped(wchar_t character, DWORD time) {
    if (character != L'\b' && character < L' ')
        return false;
    const std::u16string& prefix = character == L'\b'
                                       ? typed_.erase(time)
                                       : typed_.type(static_cast<char16_t>(character), time);
    if (prefix.empty())
        return true;
    if (int found = findPrefix(std::wstring(prefix.begin(), prefix.end())); found >= 0)
        setItemIndex(found);
    return true;
}

LRESULT CALLBACK SearchableListBox::procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto& list = WindowSubclass::owner<SearchableListBox>(data);
    if (message == WM_NCDESTROY)
        list.subclass_.remove();
    // No exception may cross the system's message dispatch.
    try {
        if (message == WM_CHAR &&
            list.findTyped(static_cast<wchar_t>(wParam), static_cast<DWORD>(GetMessageTime())))
            return 0;
    } catch (...) {
        application().reportCurrentException();
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace tk
