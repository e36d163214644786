// A panel: a child window that holds controls of its own, with an optional
// single border, raised bevels and a centred caption.
#pragma once

#include "toolkit/gui/Control.h"
#include "toolkit/gui/Window.h"

namespace tk {

struct PanelStyle {
    bool border = false;     // a single-line border
    bool outerBevel = true;  // raised, one pixel
    bool innerBevel = false; // raised, one pixel, inside the outer one
    std::string caption;
    Color color = buttonFace;
    FontStyle font;
};

class Panel : public WinControl, public Container, public MessageTarget {
public:
    Panel(Container& parent, Bounds bounds, PanelStyle style);

    HWND containerHandle() const override { return handle(); }
    Color color() const override { return style_.color; }
    const Font& font() const override { return font_; }
    bool tabStop() const override { return false; }
    void collectFocusOrder(std::vector<WinControl*>& order) override;

protected:
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) final;
    void paintBackground(HDC dc, const RECT& client) override;

private:
    PanelStyle style_;
    Font font_;
};

} // namespace tk
