// A top-level window made of controls: borderless, framed or with a dialog
// frame; centred when first shown; modal on request. Secondary forms only
// hide when closed, so their state lasts between showings.
#pragma once

#include "toolkit/gui/Control.h"
#include "toolkit/gui/DrawingHandles.h"
#include "toolkit/gui/Window.h"

#include <optional>
#include <string>
#include <vector>

namespace tk {

enum class Frame { none, sizeable, dialog };

struct FormDesign {
    std::string caption;
    Frame frame = Frame::sizeable;
    int clientWidth = 0;
    int clientHeight = 0;
    Color color = buttonFace;
    FontStyle font;
    bool hideOnClose = false;      // secondary windows
    std::optional<POINT> position; // first shown here; centred when absent
    bool centredOnEveryShow = false;
};

class Form : public Container, public MessageTarget {
public:
    explicit Form(const FormDesign& design);
    ~Form() override;

    HWND handle() const { return window_; }
    HWND containerHandle() const override { return window_; }
    Color color() const override { return color_; }
    const Font& font() const override { return font_; }

    // Shows the form; the first time it is centred on the screen and the
    // show handler runs before the window reaches the screen.
    void show();
    void hide();
    bool visible() const;
    void close();
    // Shows the form modally; returns its modal result when it is closed.
    int showModal();
    void setModalResult(int result) { modalResult_ = result; }
    // Paints the form and its children at once, without waiting for messages.
    void repaintNow();
    // No border and no caption from now on; the client area keeps its size.
    void removeBorder();
    // Clips the window to the region. The window owns the region once this
    // succeeds (the handle is released and must not be used again); on
    // failure it stays with the caller.
    [[nodiscard]] bool setRegion(RegionHandle& region);

    void focusNext(bool backwards);
    // The control that has the keyboard focus whenever the form becomes
    // active, until the focus moves: at once when the form is active. As a
    // dialog does, the form gives the focus back to the control that had it
    // when the form lost it.
    void setActiveControl(WinControl& control);
    // Keys the form handles before the focused control sees them: Tab moves
    // the focus, Enter presses the default button. True when it took the key.
    bool preDispatch(const MSG& message);
    // The form whose window is `window` or one of its descendants.
    static Form* owning(HWND window);

protected:
    // Runs when the form is about to be shown; the window is not yet visible.
    virtual void onShow() {}
    // A timer of the form's window (SetTimer with its handle) went off.
    virtual void onTimer(UINT_PTR /*id*/) {}
    // Final: a derived form's controls die before the form's own part, their
    // windows one at a time, and the form's window hears of each; only the
    // form's own part, still whole then, may answer.
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) final;

private:
    void placeOnScreen();
    bool restoreFocus();
    std::vector<WinControl*> windowedControls() const;
    bool pressDefaultButton();

    HWND window_ = nullptr;
    HWND activeControl_ = nullptr;
    Color color_;
    Font font_;
    bool hideOnClose_;
    std::optional<POINT> position_;
    bool centredOnEveryShow_;
    bool positioned_ = false;
    int modalResult_ = 0;
    bool modal_ = false;
};

} // namespace tk
