// The list people read and search: a Unicode window, so rows hold every
// letter, that draws each row from the rows its source keeps, taking each
// letter its font lacks from a font that has it. Letters typed while it has
// the focus select the first row that begins with them, ignoring case;
// letters typed within a short pause of each other make one prefix (see
// TypedPrefix). The window holds every row as text as well, for whatever
// reads the list from outside.
#pragma once

#include "toolkit/gui/ListBox.h"
#include "toolkit/text/TypedPrefix.h"

#include <string>
#include <string_view>

namespace tk {

class SearchableListBox : public ListBoxWindow {
public:
    SearchableListBox(Container& parent, Bounds bounds, ListBoxStyle style = {});

    // Shows the source's rows, read from it again whenever one is drawn or
    // searched, so they stay as long as the source: the window takes them
    // in at once, with one repaint.
    void assign(RowSource rows);
    void clear();
    // A row as the source gives it now, up to its first NUL, as the window
    // holds it; empty beyond the last row.
    std::wstring row(int index) const;
    // The first row that begins with `prefix`, ignoring case as an ordinal
    // comparison does in every script; -1 for none.
    int findPrefix(std::wstring_view prefix) const;

    void drawItem(const DRAWITEMSTRUCT& item) override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR list);
    // A character typed at the message's time; false when it is no letter
    // (Enter, Escape, ...), which the list box then handles as usual.
    bool findTyped(wchar_t character, DWORD time);

    RowSource rows_;
    TypedPrefix typed_;
    WindowSubclass subclass_;
};

} // namespace tk
