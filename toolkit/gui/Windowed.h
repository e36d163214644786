// Windowed controls: list box, one-line edit, memo, check box and push
// button, each a child window of the system's own classes with the design's
// colours.
#pragma once

#include "toolkit/gui/Control.h"
#include "toolkit/gui/DrawingHandles.h"
#include "toolkit/text/TypedPrefix.h"

#include <optional>
#include <string>
#include <vector>

namespace tk {

// Colours that a windowed control answers to WM_CTLCOLOR* with.
class ControlColors {
public:
    ControlColors(Color background, Color text);
    HBRUSH apply(HDC dc) const;
    COLORREF background() const { return background_; }
    COLORREF text() const { return text_; }

private:
    COLORREF background_;
    COLORREF text_;
    BrushHandle brush_;
};

struct ListBoxStyle {
    Color color = systemColor(COLOR_WINDOW);
    int itemHeight = 13;
    bool border = true;
    // A list for people to read and search: a Unicode window, so rows hold
    // every letter, drawing each with a font that has it where the list's own
    // font lacks it, in which letters typed while it has the focus select the
    // first row that begins with them, ignoring case; letters typed within a
    // short pause of each other make one prefix (see TypedPrefix). Otherwise
    // a list in the code page, as lists the program only keeps rows in are.
    bool unicode = false;
};

// A list box. Rows in the code page and in UTF-16 go into either kind and
// are converted on their way in and out (to the code page, in a list that
// is not Unicode).
class ListBox : public WinControl {
public:
    ListBox(Container& parent, Bounds bounds, ListBoxStyle style = {});

    int count() const;
    std::string item(int index) const;
    std::wstring unicodeItem(int index) const;
    std::vector<std::string> items() const;
    void add(const std::string& text);
    void clear();
    // Replaces every row at once, with one repaint at the end.
    void assign(const std::vector<std::string>& rows);
    void assign(const std::vector<std::wstring>& rows);
    // The same for a list that is not on the screen, without making the
    // windows that are wait for it: the rows go in once the thread has
    // nothing else to do (after painting), or before anything, in this
    // program or another, asks the list box about its rows.
    void assignWhenIdle(std::vector<std::string> rows);
    int itemIndex() const;
    void setItemIndex(int index);
    // The first row that begins with `prefix`, ignoring case; -1 for none.
    int findPrefix(std::wstring_view prefix) const;

    HBRUSH controlColor(HDC dc) override { return colors_.apply(dc); }
    void drawItem(const DRAWITEMSTRUCT& item) override;

private:
    // The subclass procedure of the lists with pending rows and of those that
    // find typed letters.
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR);
    // A character typed at the message's time; false when it is no letter
    // (Enter, Escape, ...), which the list box then handles as usual.
    bool findTyped(wchar_t character, DWORD time);
    // Replaces every row by the NUL-ended texts that begin at `starts`.
    void fill(const std::wstring& texts, const std::vector<std::size_t>& starts);
    void assignPending();
    void dropPending();

    ControlColors colors_;
    bool unicode_;
    TypedPrefix typed_;
    std::optional<std::vector<std::string>> pending_;
};

class Edit : public WinControl {
public:
    Edit(Container& parent, Bounds bounds, Color background);

    std::string text() const;
    void setText(const std::string& text);

    HBRUSH controlColor(HDC dc) override { return colors_.apply(dc); }

protected:
    Edit(Container& parent, Bounds bounds, Color background, DWORD style, bool unicode);

private:
    ControlColors colors_;
};

// A multi-line edit with word wrap and both scroll bars; a Unicode window,
// so it shows text of every script.
class Memo : public Edit {
public:
    // The most text it takes, in characters.
    static constexpr size_t capacity = 16 * 1024 * 1024;

    Memo(Container& parent, Bounds bounds, Color background);

    // Sets the text and makes sure the memo holds exactly that: a text with
    // a NUL, longer than the capacity or changed on its way in raises "Text
    // exceeds memo capacity" and leaves the memo empty. The text is in the
    // code page, or in UTF-16.
    void setWholeText(const std::string& text);
    void setWholeText(const std::wstring& text);
    std::wstring unicodeText() const;
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

struct PushButtonStyle {
    std::optional<FontStyle> font; // the container's font when absent
    bool tabStop = true;
    // False: after a click the focus goes back where it was, so no key can
    // ever press the button.
    bool keepsFocus = true;
    // The form's default button: Enter presses it wherever the focus is.
    bool isDefault = false;
    // A non-zero result ends the form's modal showing with it on a click.
    int modalResult = 0;
};

class PushButton : public WinControl {
public:
    PushButton(Container& parent, Bounds bounds, const std::string& caption,
               PushButtonStyle style = {});

    std::string caption() const;
    void setCaption(const std::string& caption);
    // What a click does: the modal result, then the handler.
    void click();
    std::function<void()> onClick;

    bool tabStop() const override { return style_.tabStop; }
    bool pressAsDefault() override;
    void command(WORD notification) override;

private:
    // The subclass procedure of the buttons that give the focus back.
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR);
    void giveFocusBack();

    PushButtonStyle style_;
    std::optional<Font> font_;
    HWND focusBefore_ = nullptr;
};

} // namespace tk
