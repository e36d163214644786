// Windowed controls: one-line edit, memo, check box and push button, each a
// child window of the system's own classes with the design's colours. The
// list boxes are in ListBox.h.
#pragma once

#include "toolkit/gui/Control.h"
#include "toolkit/gui/DrawingHandles.h"
#include "toolkit/gui/WindowSubclass.h"

#include <optional>
#include <string>

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

class Edit : public WinControl {
public:
    Edit(Container& parent, Bounds bounds, Color background);

    // UTF-8, as every text in the program; the window holds it in UTF-16.
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
    // After a click with the mouse, once the handler has run, the focus goes
    // to `control`, so that keys go on where they went; the box keeps the
    // focus that the Tab key gives it.
    void passFocusAfterClick(WinControl& control);

    HBRUSH controlColor(HDC dc) override { return colors_.apply(dc); }
    void command(WORD notification) override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR box);

    Font font_;
    ControlColors colors_;
    WinControl* focusAfterClick_ = nullptr;
    WindowSubclass subclass_;
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
                                      UINT_PTR, DWORD_PTR button);
    void giveFocusBack();

    PushButtonStyle style_;
    std::optional<Font> font_;
    HWND focusBefore_ = nullptr;
    WindowSubclass subclass_;
};

} // namespace tk
