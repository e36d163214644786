#include "toolkit/gui/Windowed.h"

#include "toolkit/base/Error.h"
#include "toolkit/gui/Application.h"
#include "toolkit/gui/Form.h"

#include <commctrl.h>
#include <usp10.h>

#include <algorithm>
#include <cstring>

namespace tk {
namespace {

std::string textOf(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    length = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::wstring unicodeTextOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

// Whether the message shows the list box or asks about or changes its rows,
// so that rows still pending must go in first.
bool needsRows(UINT message) {
    return (message >= LB_ADDSTRING && message <= LB_MSGMAX) || message == WM_PAINT ||
           message == WM_SHOWWINDOW || message == Application::idleMessage;
}

} // namespace

ControlColors::ControlColors(Color background, Color text)
    : background_(resolveColor(background)), text_(resolveColor(text)),
      brush_(CreateSolidBrush(background_)) {}

HBRUSH ControlColors::apply(HDC dc) const {
    SetTextColor(dc, text_);
    SetBkColor(dc, background_);
    return brush_.get();
}

ListBox::ListBox(Container& parent, Bounds bounds, ListBoxStyle style)
    : WinControl(parent, bounds), colors_(style.color, parent.font().style().color),
      unicode_(style.unicode) {
    // A Unicode list draws its rows itself, for the letters its font lacks.
    DWORD drawing = style.unicode ? LBS_OWNERDRAWFIXED | LBS_HASSTRINGS : 0;
    create("LISTBOX", WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | drawing,
           style.border ? WS_EX_CLIENTEDGE : 0, "", parent.font(), style.unicode);
    SendMessageA(handle(), LB_SETITEMHEIGHT, 0, style.itemHeight);
    if (style.unicode && !SetWindowSubclass(handle(), &ListBox::procedure, 0, 0))
        throw Error("Error creating window");
}

void ListBox::drawItem(const DRAWITEMSTRUCT& item) {
    // The list box has selected its font into the context.
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    if (item.itemID != static_cast<UINT>(-1)) {
        bool selected = item.itemState & ODS_SELECTED;
        SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : colors_.background());
        SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : colors_.text());
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
        // Uniscribe takes each letter the font lacks from a font that has it,
        // as the system's edit controls do; a plain text output would show
        // a box for it.
        std::wstring text = unicodeItem(static_cast<int>(item.itemID));
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

bool ListBox::findTyped(wchar_t character, DWORD time) {
    if (character != L'\b' && character < L' ')
        return false;
    const std::u16string& prefix = character == L'\b'
                                       ? typed_.erase(time)
                                       : typed_.type(static_cast<char16_t>(character), time);
    if (prefix.empty())
        return true;
    if (int row = findPrefix(std::wstring(prefix.begin(), prefix.end())); row >= 0)
        setItemIndex(row);
    return true;
}

int ListBox::findPrefix(std::wstring_view prefix) const {
    const int length = static_cast<int>(prefix.size());
    std::wstring row;
    for (int i = 0, n = count(); i < n; ++i) {
        LRESULT rowLength = SendMessageW(handle(), LB_GETTEXTLEN, i, 0);
        if (rowLength < length)
            continue;
        row.resize(static_cast<size_t>(rowLength) + 1);
        SendMessageW(handle(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()));
        // Ordinal: the same letters in upper and lower case match, in every
        // script, and nothing else does.
        if (CompareStringOrdinal(row.data(), length, prefix.data(), length, TRUE) == CSTR_EQUAL)
            return i;
    }
    return -1;
}

int ListBox::count() const {
    return static_cast<int>(SendMessageA(handle(), LB_GETCOUNT, 0, 0));
}

std::string ListBox::item(int index) const {
    LRESULT length = SendMessageA(handle(), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    length = SendMessageA(handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length == LB_ERR ? 0 : static_cast<size_t>(length));
    return text;
}

std::wstring ListBox::unicodeItem(int index) const {
    LRESULT length = SendMessageW(handle(), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = SendMessageW(handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length == LB_ERR ? 0 : static_cast<size_t>(length));
    return text;
}

std::vector<std::string> ListBox::items() const {
    std::vector<std::string> rows;
    int n = count();
    rows.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        rows.push_back(item(i));
    return rows;
}

void ListBox::add(const std::string& text) {
    SendMessageA(handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ListBox::clear() {
    dropPending();
    SendMessageA(handle(), LB_RESETCONTENT, 0, 0);
}

void ListBox::assign(const std::vector<std::string>& rows) {
    dropPending();
    // The list box keeps its rows in UTF-16: converted here all at once, they
    // go in without a conversion and a buffer per message. A row ends at its
    // first NUL, as a row sent as text would.
    std::wstring texts;
    std::vector<std::size_t> starts;
    starts.reserve(rows.size());
    std::size_t room = 0;
    for (const auto& row : rows)
        room += row.size() + 1;
    texts.resize(room);
    std::size_t used = 0;
    for (const auto& row : rows) {
        starts.push_back(used);
        std::size_t length = std::min(row.size(), std::strlen(row.c_str()));
        used += static_cast<std::size_t>(
            MultiByteToWideChar(CP_ACP, 0, row.data(), static_cast<int>(length),
                                texts.data() + used, static_cast<int>(room - used)));
        texts[used++] = L'\0';
    }
    fill(texts, starts);
}

void ListBox::assign(const std::vector<std::wstring>& rows) {
    dropPending();
    std::wstring texts;
    std::vector<std::size_t> starts;
    starts.reserve(rows.size());
    for (const auto& row : rows) {
        starts.push_back(texts.size());
        texts.append(row.c_str());
        texts += L'\0';
    }
    fill(texts, starts);
}

void ListBox::fill(const std::wstring& texts, const std::vector<std::size_t>& starts) {
    // Straight to the list box's own procedure: the message dispatch, and a
    // procedure in front of it, cost more than the row itself under Wine.
    auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrW(handle(), GCLP_WNDPROC));
    auto send = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        CallWindowProcW(own, handle(), message, wParam, lParam);
    };
    // Reserved up front, and painted once at the end instead of per row.
    send(WM_SETREDRAW, FALSE, 0);
    send(LB_RESETCONTENT, 0, 0);
    send(LB_INITSTORAGE, starts.size(), texts.size() * sizeof(wchar_t));
    for (std::size_t start : starts)
        send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts.data() + start));
    send(WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle(), nullptr, TRUE);
}

void ListBox::assignWhenIdle(std::vector<std::string> rows) {
    if (!SetWindowSubclass(handle(), &ListBox::procedure, 0, 0))
        throw Error("Error creating window");
    pending_ = std::move(rows);
    application().notifyWhenIdle(handle());
}

void ListBox::assignPending() {
    std::vector<std::string> rows = std::move(*pending_);
    dropPending();
    assign(rows);
}

void ListBox::dropPending() {
    pending_.reset();
}

LRESULT CALLBACK ListBox::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, &ListBox::procedure, id);
    auto* list = dynamic_cast<ListBox*>(fromHandle(window));
    // No exception may cross the system's message dispatch.
    try {
        if (list && list->pending_ && needsRows(message))
            list->assignPending();
        if (list && list->unicode_ && message == WM_CHAR &&
            list->findTyped(static_cast<wchar_t>(wParam), static_cast<DWORD>(GetMessageTime())))
            return 0;
    } catch (...) {
        application().reportCurrentException();
    }
    if (message == Application::idleMessage)
        return 0;
    return DefSubclassProc(window, message, wParam, lParam);
}

int ListBox::itemIndex() const {
    return static_cast<int>(SendMessageA(handle(), LB_GETCURSEL, 0, 0));
}

void ListBox::setItemIndex(int index) {
    SendMessageA(handle(), LB_SETCURSEL, index, 0);
}

Edit::Edit(Container& parent, Bounds bounds, Color background)
    : Edit(parent, bounds, background, ES_AUTOHSCROLL, false) {}

Edit::Edit(Container& parent, Bounds bounds, Color background, DWORD style, bool unicode)
    : WinControl(parent, bounds), colors_(background, parent.font().style().color) {
    create("EDIT", style | WS_TABSTOP, WS_EX_CLIENTEDGE, "", parent.font(), unicode);
}

std::string Edit::text() const {
    return textOf(handle());
}

void Edit::setText(const std::string& text) {
    SetWindowTextA(handle(), text.c_str());
}

Memo::Memo(Container& parent, Bounds bounds, Color background)
    : Edit(parent, bounds, background,
           ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL, true) {
    SendMessageA(handle(), EM_SETLIMITTEXT, capacity, 0);
}

namespace {

template <typename Text, typename Set, typename Get>
void setExactly(const Text& text, Set set, Get get, size_t capacity) {
    bool fits = text.size() <= capacity && text.find(typename Text::value_type()) == Text::npos;
    if (fits) {
        set(text);
        fits = get() == text;
    }
    if (!fits) {
        set(Text());
        throw Error("Text exceeds memo capacity");
    }
}

} // namespace

void Memo::setWholeText(const std::string& text) {
    setExactly(
        text, [this](const std::string& t) { setText(t); }, [this] { return this->text(); },
        capacity);
}

void Memo::setWholeText(const std::wstring& text) {
    setExactly(
        text, [this](const std::wstring& t) { SetWindowTextW(handle(), t.c_str()); },
        [this] { return unicodeText(); }, capacity);
}

std::wstring Memo::unicodeText() const {
    return unicodeTextOf(handle());
}

CheckBox::CheckBox(Container& parent, Bounds bounds, const std::string& caption, FontStyle font,
                   Color background)
    : WinControl(parent, bounds), font_(std::move(font)), colors_(background, font_.style().color) {
    create("BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, caption, font_);
}

bool CheckBox::checked() const {
    return SendMessageA(handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::setChecked(bool checked) {
    SendMessageA(handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::command(WORD notification) {
    if (notification == BN_CLICKED && onClick)
        onClick();
}

PushButton::PushButton(Container& parent, Bounds bounds, const std::string& caption,
                       PushButtonStyle style)
    : WinControl(parent, bounds), style_(std::move(style)) {
    if (style_.font)
        font_.emplace(*style_.font);
    create("BUTTON",
           (style_.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
               (style_.tabStop ? WS_TABSTOP : 0),
           0, caption, font_ ? *font_ : parent.font());
    if (!style_.keepsFocus && !SetWindowSubclass(handle(), &PushButton::procedure, 0, 0))
        throw Error("Error creating window");
}

LRESULT CALLBACK PushButton::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, &PushButton::procedure, id);
    if (auto* button = dynamic_cast<PushButton*>(fromHandle(window));
        button && message == WM_SETFOCUS)
        button->focusBefore_ = reinterpret_cast<HWND>(wParam);
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    // The button took the focus for the press; the click has run by now. Asked
    // again, as the click may have ended the button.
    auto* button = dynamic_cast<PushButton*>(fromHandle(window));
    if (button && message == WM_LBUTTONUP && GetFocus() == window)
        button->giveFocusBack();
    return result;
}

void PushButton::giveFocusBack() {
    HWND form = GetAncestor(handle(), GA_ROOT);
    HWND target = focusBefore_;
    if (!target || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target) ||
        GetAncestor(target, GA_ROOT) != form)
        target = form;
    SetFocus(target);
}

std::string PushButton::caption() const {
    return textOf(handle());
}

void PushButton::setCaption(const std::string& caption) {
    SetWindowTextA(handle(), caption.c_str());
}

void PushButton::click() {
    if (style_.modalResult != 0)
        if (Form* form = Form::owning(handle()))
            form->setModalResult(style_.modalResult);
    if (onClick)
        onClick();
}

bool PushButton::pressAsDefault() {
    if (!style_.isDefault || !IsWindowVisible(handle()) || !IsWindowEnabled(handle()))
        return false;
    click();
    return true;
}

void PushButton::command(WORD notification) {
    if (notification == BN_CLICKED)
        click();
}

} // namespace tk
