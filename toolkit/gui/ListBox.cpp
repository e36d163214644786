#include "toolkit/gui/ListBox.h"

#include "toolkit/gui/Application.h"
#include "toolkit/text/CodePage.h"

namespace tk {
namespace {

// Whether the message shows the list box or asks about or changes its rows,
// so that rows still pending must go in first.
bool needsRows(UINT message) {
    return (message >= LB_ADDSTRING && message <= LB_MSGMAX) || message == WM_PAINT ||
           message == WM_SHOWWINDOW || message == Application::idleMessage;
}

} // namespace

ListBoxWindow::ListBoxWindow(Container& parent, Bounds bounds, const ListBoxStyle& style,
                             DWORD drawing)
    : WinControl(parent, bounds), colors_(style.color, parent.font().style().color) {
    create(L"LISTBOX", WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | drawing,
           style.border ? WS_EX_CLIENTEDGE : 0, "", parent.font());
    SendMessageW(handle(), LB_SETITEMHEIGHT, 0, style.itemHeight);
}

int ListBoxWindow::count() const {
    return static_cast<int>(SendMessageW(handle(), LB_GETCOUNT, 0, 0));
}

std::string ListBoxWindow::item(int index) const {
    return wideToUtf8(unicodeItem(index));
}

std::wstring ListBoxWindow::unicodeItem(int index) const {
    LRESULT length = SendMessageW(handle(), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = SendMessageW(handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length == LB_ERR ? 0 : static_cast<size_t>(length));
    return text;
}

std::vector<std::string> ListBoxWindow::items() const {
    std::vector<std::string> rows;
    int n = count();
    rows.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        rows.push_back(item(i));
    return rows;
}

int ListBoxWindow::itemIndex() const {
    return static_cast<int>(SendMessageW(handle(), LB_GETCURSEL, 0, 0));
}

void ListBoxWindow::setItemIndex(int index) {
    SendMessageW(handle(), LB_SETCURSEL, index, 0);
}

void ListBoxWindow::fill(const std::wstring& texts, std::span<const std::size_t> starts) {
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

void ListBoxWindow::reset() {
    SendMessageW(handle(), LB_RESETCONTENT, 0, 0);
}

ListBox::ListBox(Container& parent, Bounds bounds, ListBoxStyle style)
    : ListBoxWindow(parent, bounds, style, 0) {}

void ListBox::clear() {
    pending_.reset();
    reset();
}

void ListBox::assign(const std::vector<std::string>& rows) {
    pending_.reset();
    // The list box keeps its rows in UTF-16: converted here all at once, they
    // go in without a conversion and a buffer per message. A row ends at its
    // first NUL, as a row sent as text would.
    std::string joined;
    std::size_t room = 0;
    for (const auto& row : rows)
        room += row.size() + 1;
    joined.reserve(room);
    for (const auto& row : rows) {
        joined.append(row.c_str());
        joined += '\0';
    }
    const std::wstring texts = utf8ToWide(joined);
    std::vector<std::size_t> starts;
    starts.reserve(rows.size());
    for (std::size_t start = 0; start < texts.size(); start = texts.find(L'\0', start) + 1)
        starts.push_back(start);
    fill(texts, starts);
}

void ListBox::assignWhenIdle(std::vector<std::string> rows) {
    subclass_.install(handle(), &ListBox::procedure, this);
    pending_ = std::move(rows);
    application().notifyWhenIdle(handle());
}

void ListBox::assignPending() {
    std::vector<std::string> rows = std::move(*pending_);
    pending_.reset();
    assign(rows);
}

LRESULT CALLBACK ListBox::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data) {
    auto& list = WindowSubclass::owner<ListBox>(data);
    if (message == WM_NCDESTROY)
        list.subclass_.remove();
    // No exception may cross the system's message dispatch.
    try {
        if (list.pending_ && needsRows(message))
            list.assignPending();
    } catch (...) {
        application().reportCurrentException();
    }
    if (message == Application::idleMessage)
        return 0;
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace tk
