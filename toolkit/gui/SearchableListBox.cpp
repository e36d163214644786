#include "toolkit/gui/SearchableListBox.h"

#include "toolkit/base/Handles.h"
#include "toolkit/gui/Application.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/OrdinalCase.h"

#include <usp10.h>

#include <array>

namespace tk {

namespace {

RowSource noRows() {
    return {[] { return std::size_t(0); }, [](std::size_t) { return std::string_view(); }};
}

// The ordinal upper case of each ASCII unit, at hand without a call.
using AsciiUpper = std::array<wchar_t, 0x80>;

AsciiUpper asciiUpper() {
    AsciiUpper upper{};
    for (std::size_t unit = 0; unit < upper.size(); ++unit)
        upper[unit] = ordinalUpper(static_cast<wchar_t>(unit));
    return upper;
}

// Whether the UTF-8 row begins with the units of `upper`, each compared in
// its ordinal upper case. Most rows differ within their first bytes, which
// are ASCII: they are compared as they are, without a conversion.
bool beginsWith(std::string_view row, std::wstring_view upper, const AsciiUpper& ascii) {
    std::size_t i = 0;
    for (; i < upper.size() && i < row.size(); ++i) {
        auto byte = static_cast<unsigned char>(row[i]);
        if (byte >= 0x80)
            break;
        if (ascii[byte] != upper[i])
            return false;
    }
    if (i == upper.size())
        return true;
    if (i == row.size())
        return false;
    // A unit takes at most three bytes of UTF-8: the first bytes give all
    // the units compared.
    std::wstring wide = utf8ToWide(row.substr(0, 3 * upper.size()));
    if (wide.size() < upper.size())
        return false;
    for (; i < upper.size(); ++i)
        if (ordinalUpper(wide[i]) != upper[i])
            return false;
    return true;
}

} // namespace

SearchableListBox::SearchableListBox(Container& parent, Bounds bounds, ListBoxStyle style)
    : ListBoxWindow(parent, bounds, style, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS), rows_(noRows()) {
    subclass_.install(handle(), &SearchableListBox::procedure, this);
}

void SearchableListBox::assign(RowSource rows) {
    rows_ = std::move(rows);
    fill(rows_);
}

void SearchableListBox::clear() {
    rows_ = noRows();
    reset();
}

std::wstring SearchableListBox::row(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.count())
        return {};
    std::wstring wide;
    widen(rows_.row(static_cast<std::size_t>(index)), wide);
    return wide.substr(0, wide.find(L'\0'));
}

int SearchableListBox::findPrefix(std::wstring_view prefix) const {
    const std::wstring wanted = ordinalUpper(prefix);
    static const AsciiUpper ascii = asciiUpper();
    const std::size_t count = rows_.count();
    for (std::size_t i = 0; i < count; ++i)
        if (beginsWith(rows_.row(i), wanted, ascii))
            return static_cast<int>(i);
    return -1;
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
        const std::wstring text = row(static_cast<int>(item.itemID));
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
