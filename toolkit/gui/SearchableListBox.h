// The list people read and search: a Unicode window, so rows hold every
// letter, that draws each row from the rows its source keeps, taking each
// letter its font lacks from a font that has it. Letters typed while it has
// the focus find rows as the platform's lists do, ignoring case (see
// TypedPrefix for the rules); a text no row begins with leaves the selection
// and sounds once. A row cut at the list's edge shows whole in a tip over it
// while the pointer rests on it. The focused row shows the focus rectangle
// once the user works the window with the keyboard. The window holds every
// row as text as well, for whatever reads the list from outside.
#pragma once

#include "toolkit/gui/ListBox.h"
#include "toolkit/gui/RowTip.h"
#include "toolkit/text/TypedPrefix.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    // The first row from `from` on (backwards: from `from` back) that begins
    // with `prefix`, ignoring case as an ordinal comparison does in every
    // script, going round past the ends; -1 for none.
    int findPrefix(std::wstring_view prefix, int from = 0, bool backwards = false) const;

    void drawItem(const DRAWITEMSTRUCT& item) override;

private:
    // The ordinal upper case of each row's first unit, taken at the first
    // search after the rows came in: a search reads on in a row only when
    // its first letter matches.
    const std::vector<wchar_t>& firstUnits() const;
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR list);
    // What the list does with a message before the list box does, with the
    // answer when that is all.
    std::optional<LRESULT> respond(UINT message, WPARAM wParam, LPARAM lParam);
    // A character typed at the message's time; false when it is no letter
    // (Enter, Escape, ...), which the list box then handles as usual.
    bool findTyped(wchar_t character, DWORD time);
    void find(const RowSearch& search);
    // Selects the row with one repaint of the list, however far it lies.
    void select(int index);
    // The tip for the row under the pointer at `at`, if it is cut.
    void showTip(POINT at);
    // The keys are in use: the focus rectangle shows from now on.
    void showFocusCue();
    void updateFocusCue(WPARAM change);

    RowSource rows_;
    mutable std::vector<wchar_t> firstUnits_;
    TypedPrefix typed_;
    RowTip tip_;
    bool focusCueHidden_;
    bool trackingPointer_ = false;
    POINT pointer_; // in client coordinates, at the last move
    WindowSubclass subclass_;
};

} // namespace tk
