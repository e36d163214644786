// List boxes: the system's list box window that every list shares, and the
// list that shows rows the program keeps elsewhere and never reads back, as
// the hidden lists do. The list people read and search is SearchableListBox.
#pragma once

#include "toolkit/gui/WindowSubclass.h"
#include "toolkit/gui/Windowed.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

struct ListBoxStyle {
    Color color = systemColor(COLOR_WINDOW);
    int itemHeight = 13;
    bool border = true;
};

// Rows that their owner keeps, in UTF-8, read by index whenever a list needs
// them: a list keeps no copy of its own beyond the window's. Each call sees
// the owner's rows as they are then.
struct RowSource {
    std::function<std::size_t()> count;
    std::function<std::string_view(std::size_t)> row;
};

// What every list box has: the window with the design's colours, the rows
// as the window holds them (the texts that other programs read too), and
// the selection. The rows go in through the kinds below.
class ListBoxWindow : public WinControl {
public:
    int count() const;
    // A row as the window holds it, in UTF-8 or in UTF-16; empty beyond the
    // last row.
    std::string item(int index) const;
    std::wstring unicodeItem(int index) const;
    std::vector<std::string> items() const;
    int itemIndex() const;
    void setItemIndex(int index);

    HBRUSH controlColor(HDC dc) override { return colors_.apply(dc); }

protected:
    // `drawing` adds the list box styles of a list that draws its own rows.
    ListBoxWindow(Container& parent, Bounds bounds, const ListBoxStyle& style, DWORD drawing);

    const ControlColors& colors() const { return colors_; }
    // Replaces every row by the source's, in UTF-16; a row ends at its first
    // NUL, as a row sent as text does.
    void fill(const RowSource& rows);
    void reset();
    // A row in UTF-16, into a buffer that serves every row.
    static void widen(std::string_view row, std::wstring& wide);

private:
    ControlColors colors_;
};

// A list whose window holds the rows of a source that the program keeps
// elsewhere, so that other programs read them as they read any list box.
class ListBox : public ListBoxWindow {
public:
    ListBox(Container& parent, Bounds bounds, ListBoxStyle style = {});

    void clear();
    // Replaces every row at once, with one repaint at the end.
    void assign(const RowSource& rows);
    // The same for a list that is not on the screen, without making the
    // windows that are wait for it: the rows go in once the thread has
    // nothing else to do (after painting), or before anything, in this
    // program or another, asks the list box about its rows.
    void assignWhenIdle(RowSource rows);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR list);
    void assignPending();

    std::optional<RowSource> pending_;
    WindowSubclass subclass_;
};

} // namespace tk
