#include "toolkit/gui/ListBox.h"

#include "toolkit/gui/Application.h"
#include "toolkit/text/CodePage.h"

#include <algorithm>

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

void ListBoxWindow::widen(std::string_view row, std::wstring& wide) {
    // Most rows are ASCII, which widens unit for unit without a conversion.
    if (std::all_of(row.begin(), row.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        wide.assign(row.begin(), row.end());
    else
        wide = utf8ToWide(row);
}

void ListBoxWindow::fill(const RowSource& rows) {
    // Straight to the list box's own procedure: the message dispatch, and a
    // procedure in front of it, cost more than the row itself under Wine.
    auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrW(handle(), GCLP_WNDPROC));
    auto send = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        CallWindowProcW(own, handle(), message, wParam, lParam);
    };
    const std::size_t count = rows.count();
    std::size_t units = 0; // at most one per byte of UTF-8
    for (std::size_t i = 0; i < count; ++i)
        units += rows.row(i).size() + 1;
    // Reserved up front, and painted once at the end instead of per row.
    send(WM_SETREDRAW, FALSE, 0);
    send(LB_RESETCONTENT, 0, 0);
    send(LB_INITSTORAGE, count, units * sizeof(wchar_t));
    std::wstring wide;
    for (std::size_t i = 0; i < count; ++i) {
        widen(rows.row(i), wide);
        send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
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

void ListBox::assign(const RowSource& rows) {
    pending_.reset();
    fill(rows);
}

void ListBox::assignWhenIdle(RowSource rows) {
    subclass_.install(handle(), &ListBox::procedure, this);
    pending_ = std::move(rows);
    application().notifyWhenIdle(handle());
}

void ListBox::assignPending() {
    RowSource rows = std::move(*pending_);
    pending_.reset();
    fill(rows);
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
