// List boxes: the system's list box window that every list shares, and the
// list that keeps rows the program only stores, as the hidden lists do. The list people read and
// search is SearchableListBox.
#pragma once

#include "toolkit/gui/WindowSubclass.h"
#include "toolkit/gui/Windowed.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tk {

struct ListBoxStyle {
    Color color = systemColor(COLOR_WINDOW);
    int itemHeight = 13;
    bool border = true;
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
    // Replaces every row by the NUL-ended texts that begin at `starts`.
    void fill(const std::wstring& texts, std::span<const std::size_t> starts);
    void reset();

private:
    ControlColors colors_;
};

// A list of rows in UTF-8 that the program keeps rather than shows; the
// window holds them in UTF-16, so a row in any letters comes back as it went
// in, and other programs read them as they read any list box.
class ListBox : public ListBoxWindow {
public:
    ListBox(Container& parent, Bounds bounds, ListBoxStyle style = {});

    void clear();
    // Replaces every row at once, with one repaint at the end.
    void assign(const std::vector<std::string>& rows);
    // The same for a list that is not on the screen, without making the
    // windows that are wait for it: the rows go in once the thread has
    // nothing else to do (after painting), or before anything, in this
    // program or another, asks the list box about its rows.
    void assignWhenIdle(std::vector<std::string> rows);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR list);
    void assignPending();

    std::optional<std::vector<std::string>> pending_;
    WindowSubclass subclass_;
};

} // namespace tk
