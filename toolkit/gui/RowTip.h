// The whole text of a list row that the list had to cut, shown in a tip laid
// over the row as the platform's list views show a cut label: a tooltip that
// the pointer passes through, in the row's font, placed so that its text lies
// where the row's text lies.
#pragma once

#include "toolkit/gui/WindowHandles.h"

#include <commctrl.h>

#include <string>

namespace tk {

class RowTip {
public:
    // A tip for the rows of `list`; its window is made when first shown.
    explicit RowTip(HWND list) : list_(list) {}

    // Shows `text` in `font` with its first letter at `origin`, in the
    // list's client coordinates, for the row `row`.
    void show(int row, POINT origin, const std::wstring& text, HFONT font);
    void hide();
    // The row the tip is shown for; -1 when it is hidden.
    int row() const { return row_; }

private:
    TTTOOLINFOW tool();

    HWND list_;
    WindowHandle window_;
    std::wstring text_;
    int row_ = -1;
};

} // namespace tk
