#include "toolkit/gui/SearchableListBox.h"

#include "toolkit/base/Handles.h"
#include "toolkit/gui/Application.h"
#include "toolkit/gui/WindowHandles.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/OrdinalCase.h"

#include <usp10.h>

#include <windowsx.h>

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

// A row's text shaped for the DC's font by Uniscribe, which takes each
// letter the font lacks from a font that has it, as the system's edit
// controls do; a plain text output would show a box for it.
class ShapedText {
public:
    ShapedText(HDC dc, const std::wstring& text) {
        if (!text.empty() &&
            FAILED(ScriptStringAnalyse(dc, text.data(), static_cast<int>(text.size()),
                                       static_cast<int>(text.size()) * 3 / 2 + 16, -1,
                                       SSA_GLYPHS | SSA_FALLBACK, 0, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, &analysis_)))
            analysis_ = nullptr;
    }
    ShapedText(const ShapedText&) = delete;
    ShapedText& operator=(const ShapedText&) = delete;
    ~ShapedText() {
        if (analysis_)
            ScriptStringFree(&analysis_);
    }

    void draw(POINT at, const RECT& clip) const {
        if (analysis_)
            ScriptStringOut(analysis_, at.x, at.y, ETO_CLIPPED, &clip, 0, 0, FALSE);
    }
    int width() const {
        const SIZE* size = analysis_ ? ScriptString_pSize(analysis_) : nullptr;
        return size ? size->cx : 0;
    }

private:
    SCRIPT_STRING_ANALYSIS analysis_ = nullptr;
};

// Where a row's text begins: a pixel in, as the list box places its own.
constexpr int textIndent = 1;

// Where the pointer is when it is not over the list.
constexpr POINT noPointer{-1, -1};

bool keyboardCuesAlwaysShown() {
    BOOL always = FALSE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0);
    return always;
}

} // namespace

SearchableListBox::SearchableListBox(Container& parent, Bounds bounds, ListBoxStyle style)
    : ListBoxWindow(parent, bounds, style, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS), rows_(noRows()),
      tip_(handle()), focusCueHidden_(!keyboardCuesAlwaysShown()), pointer_(noPointer) {
    subclass_.install(handle(), &SearchableListBox::procedure, this);
}

void SearchableListBox::assign(RowSource rows) {
    tip_.hide();
    firstUnits_.clear();
    rows_ = std::move(rows);
    fill(rows_);
}

void SearchableListBox::clear() {
    tip_.hide();
    firstUnits_.clear();
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

const std::vector<wchar_t>& SearchableListBox::firstUnits() const {
    const std::size_t count = rows_.count();
    if (firstUnits_.size() == count)
        return firstUnits_;
    static const AsciiUpper ascii = asciiUpper();
    firstUnits_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string_view row = rows_.row(i);
        auto byte = row.empty() ? 0u : static_cast<unsigned char>(row[0]);
        if (byte < 0x80) {
            firstUnits_[i] = ascii[byte];
        } else {
            // A character takes at most four bytes of UTF-8.
            std::wstring wide = utf8ToWide(row.substr(0, 4));
            firstUnits_[i] = wide.empty() ? L'\0' : ordinalUpper(wide[0]);
        }
    }
    return firstUnits_;
}

int SearchableListBox::findPrefix(std::wstring_view prefix, int from, bool backwards) const {
    const std::wstring wanted = ordinalUpper(prefix);
    static const AsciiUpper ascii = asciiUpper();
    const auto count = static_cast<long long>(rows_.count());
    if (count == 0)
        return -1;
    const auto at = static_cast<std::size_t>((from % count + count) % count);
    if (wanted.empty())
        return static_cast<int>(at);
    const auto n = static_cast<std::size_t>(count);
    const wchar_t* first = firstUnits().data();
    auto matches = [&](std::size_t i) {
        return first[i] == wanted[0] && beginsWith(rows_.row(i), wanted, ascii);
    };
    // Two straight runs, to the end and round from the other: no division
    // per row.
    if (!backwards) {
        for (std::size_t i = at; i < n; ++i)
            if (matches(i))
                return static_cast<int>(i);
        for (std::size_t i = 0; i < at; ++i)
            if (matches(i))
                return static_cast<int>(i);
    } else {
        for (std::size_t i = at + 1; i-- > 0;)
            if (matches(i))
                return static_cast<int>(i);
        for (std::size_t i = n; i-- > at + 1;)
            if (matches(i))
                return static_cast<int>(i);
    }
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
        ShapedText(dc, row(static_cast<int>(item.itemID)))
            .draw({rect.left + textIndent, rect.top}, rect);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT) && !focusCueHidden_)
        DrawFocusRect(dc, &rect);
}

bool SearchableListBox::findTyped(wchar_t character, DWORD time) {
    if (character != L'\b' && character < L' ')
        return false;
    find(character == L'\b' ? typed_.erase(time)
                            : typed_.type(static_cast<char16_t>(character), time));
    return true;
}

void SearchableListBox::find(const RowSearch& search) {
    if (search.text.empty())
        return;
    const std::wstring text(search.text.begin(), search.text.end());
    const int current = itemIndex();
    int found = -1;
    switch (search.from) {
    case RowSearch::From::top:
        found = findPrefix(text);
        break;
    case RowSearch::From::next:
        found = findPrefix(text, current + 1);
        break;
    case RowSearch::From::previous:
        // With no row selected, the last row is the one before the first.
        found = findPrefix(text, current < 0 ? -1 : current - 1, true);
        break;
    }
    if (found >= 0)
        select(found);
    if (typed_.signalsMiss(found >= 0))
        MessageBeep(MB_OK);
}

void SearchableListBox::select(int index) {
    if (index == itemIndex())
        return;
    RECT client;
    GetClientRect(handle(), &client);
    const auto top = static_cast<int>(SendMessageW(handle(), LB_GETTOPINDEX, 0, 0));
    const auto rowHeight = static_cast<int>(SendMessageW(handle(), LB_GETITEMHEIGHT, 0, 0));
    if (index >= top && (index - top + 1) * rowHeight <= client.bottom) {
        setItemIndex(index);
        return;
    }
    // A row out of view scrolls the list: it is drawn once, whole, rather
    // than moved, then drawn again row by row.
    SendMessageW(handle(), WM_SETREDRAW, FALSE, 0);
    setItemIndex(index);
    SendMessageW(handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle(), nullptr, FALSE);
}

void SearchableListBox::showTip(POINT at) {
    if (!trackingPointer_) {
        TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, handle(), 0};
        trackingPointer_ = TrackMouseEvent(&leave) != FALSE;
    }
    // Worked out here: the list box's own answer holds 16 bits of a row.
    RECT client;
    GetClientRect(handle(), &client);
    const auto rowHeight = static_cast<int>(SendMessageW(handle(), LB_GETITEMHEIGHT, 0, 0));
    int index = -1;
    if (PtInRect(&client, at) && rowHeight > 0) {
        index = static_cast<int>(SendMessageW(handle(), LB_GETTOPINDEX, 0, 0)) + at.y / rowHeight;
        if (index >= count())
            index = -1;
    }
    if (index == tip_.row())
        return;
    tip_.hide();
    if (index < 0)
        return;
    RECT rect;
    SendMessageW(handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    const std::wstring text = row(index);
    auto font = reinterpret_cast<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0));
    int width = 0;
    {
        WindowDc dc(handle());
        HGDIOBJ before = SelectObject(dc.get(), font);
        width = ShapedText(dc.get(), text).width();
        SelectObject(dc.get(), before);
    }
    if (rect.left + textIndent + width > client.right)
        tip_.show(index, {rect.left + textIndent, rect.top}, text, font);
}

void SearchableListBox::showFocusCue() {
    if (!focusCueHidden_)
        return;
    // The system passes the change to every control of the window, as its
    // dialogs do on the first key; the list takes it itself as well, on a
    // system that passes it on to none.
    SendMessageW(handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    updateFocusCue(MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS));
}

void SearchableListBox::updateFocusCue(WPARAM change) {
    if (!(HIWORD(change) & UISF_HIDEFOCUS) ||
        (LOWORD(change) != UIS_SET && LOWORD(change) != UIS_CLEAR))
        return;
    const bool hidden = LOWORD(change) == UIS_SET;
    if (hidden == focusCueHidden_)
        return;
    focusCueHidden_ = hidden;
    RECT rect;
    const auto caret = static_cast<int>(SendMessageW(handle(), LB_GETCARETINDEX, 0, 0));
    if (caret >= 0 &&
        SendMessageW(handle(), LB_GETITEMRECT, caret, reinterpret_cast<LPARAM>(&rect)) != LB_ERR)
        InvalidateRect(handle(), &rect, FALSE);
}

std::optional<LRESULT> SearchableListBox::respond(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CHAR:
        if (findTyped(static_cast<wchar_t>(wParam), static_cast<DWORD>(GetMessageTime())))
            return 0;
        break;
    case WM_KEYDOWN:
        tip_.hide();
        showFocusCue();
        if (wParam == VK_F3) {
            find(typed_.again(GetKeyState(VK_SHIFT) < 0));
            return 0;
        }
        break;
    case WM_SETFOCUS:
        // The Tab key brought the focus here.
        if (GetKeyState(VK_TAB) < 0)
            showFocusCue();
        break;
    case WM_MOUSEMOVE: {
        // The system repeats the last move when windows change under a
        // pointer that stays: a tip a key ended stays away until it moves.
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (at.x != pointer_.x || at.y != pointer_.y)
            showTip(at);
        pointer_ = at;
        break;
    }
    case WM_MOUSELEAVE:
        trackingPointer_ = false;
        pointer_ = noPointer;
        tip_.hide();
        break;
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
        tip_.hide();
        break;
    case WM_UPDATEUISTATE:
        updateFocusCue(wParam);
        break;
    case WM_QUERYUISTATE: {
        // The list's own state, whether or not the system keeps one.
        LRESULT state = DefSubclassProc(handle(), message, wParam, lParam) & ~UISF_HIDEFOCUS;
        return state | (focusCueHidden_ ? UISF_HIDEFOCUS : 0);
    }
    }
    return std::nullopt;
}

LRESULT CALLBACK SearchableListBox::procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto& list = WindowSubclass::owner<SearchableListBox>(data);
    if (message == WM_NCDESTROY)
        list.subclass_.remove();
    // No exception may cross the system's message dispatch.
    try {
        if (std::optional<LRESULT> result = list.respond(message, wParam, lParam))
            return *result;
    } catch (...) {
        application().reportCurrentException();
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace tk
