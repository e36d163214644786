// Windowed controls: list box, one-line edit, memo and check box, each a
// child window of the system's own classes with the design's colours.
#pragma once

#include "toolkit/Control.h"
#include "toolkit/Handles.h"

#include <string>
#include <vector>

namespace tk {

// Colours that a windowed control answers to WM_CTLCOLOR* with.
class ControlColors {
public:
    ControlColors(Color background, Color text);
    HBRUSH apply(HDC dc) const;

private:
    COLORREF background_;
    COLORREF text_;
    BrushHandle brush_;
};

struct ListBoxStyle {
    Color color = systemColor(COLOR_WINDOW);
    int itemHeight = 13;
    bool border = true;
};

class ListBox : public WinControl {
public:
    ListBox(Container& parent, Bounds bounds, ListBoxStyle style = {});

    int count() const;
    std::string item(int index) const;
    std::vector<std::string> items() const;
    void add(const std::string& text);
    void clear();
    // Replaces every row at once, with one repaint at the end.
    void assign(const std::vector<std::string>& rows);
    int itemIndex() const;
    void setItemIndex(int index);

    HBRUSH controlColor(HDC dc) override { return colors_.apply(dc); }

private:
    ControlColors colors_;
};

class Edit : public WinControl {
public:
    Edit(Container& parent, Bounds bounds, Color background);

    std::string text() const;
    void setText(const std::string& text);

    HBRUSH controlColor(HDC dc) override { return colors_.apply(dc); }

protected:
    Edit(Container& parent, Bounds bounds, Color background, DWORD style);

private:
    ControlColors colors_;
};

// A multi-line edit with word wrap and both scroll bars.
class Memo : public Edit {
public:
    // The most text it takes, in characters.
    static constexpr size_t capacity = 16 * 1024 * 1024;

    Memo(Container& parent, Bounds bounds, Color background);

    // Sets the text and makes sure the memo holds exactly that: a text with
    // a NUL, longer than the capacity or changed on its way in raises "Text
    // exceeds memo capacity" and leaves the memo empty.
    void setWholeText(const std::string& text);
};

class CheckBox : public WinControl {
public:
    CheckBox(Container& parent, Bounds bounds, const std::string& caption, FontStyle font,
             Color background);

    bool checked() const;
    // Sets the tick without running the click handler.
    void setChecked(bool checked);
    std::function<void()> onClick;

    HBRUSH controlColor(HDC dc) override { return colors_.apply(dc); }
    void command(WORD notification) override;

private:
    Font font_;
    ControlColors colors_;
};

} // namespace tk
