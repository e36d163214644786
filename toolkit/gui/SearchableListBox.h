// The list people read and search: a Unicode window, so rows hold every
// letter, that draws each row from the rows it keeps in memory, taking each
// letter its font lacks from a font that has it. Letters typed while it has
// the focus select the first row that begins with them, ignoring case;
// letters typed within a short pause of each other make one prefix (see
// TypedPrefix). The window holds every row as text as well, for whatever
// reads the list from outside.
#pragma once

#include "toolkit/gui/ListBox.h"
#include "toolkit/gui/ListRows.h"
#include "toolkit/text/TypedPrefix.h"

#include <string>
#include <string_view>
#include <vector>

namespace tk {

class SearchableListBox : public ListBoxWindow {
public:
    SearchableListBox(Container& parent, Bounds bounds, ListBoxStyle style = {});

    // Replaces every row, in memory and in the window, with one repaint.
    void assign(const std::vector<std::wstring>& rows);
    void clear();
    // A row as assigned; empty beyond the last row.
    std::wstring_view row(int index) const;
    // The first row that begins with `prefix`, ignoring case; -1 for none.
    int findPrefix(std::wstring_view prefix) const { return rows_.findPrefix(prefix); }

    void drawItem(const DRAWITEMSTRUCT& item) override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR list);
    // A character typed at the message's time; false when it is no letter
    // (Enter, Escape, ...), which the list box then handles as usual.
    bool findTyped(wchar_t character, DWORD time);

    ListRows rows_;
    TypedPrefix typed_;
    WindowSubclass subclass_;
};

} // namespace tk
