// The control model. A Container (form or panel) owns a window and lists its
// controls in design order. Windowless controls are painted by the container
// on its own surface, each over the ones before it; windowed controls are
// child windows above that surface, a later one above an earlier one.
// A control is declared after its container and so dies first; it leaves
// the container's list as it goes.
#pragma once

#include "toolkit/gui/Color.h"
#include "toolkit/gui/Font.h"
#include "toolkit/gui/WindowHandles.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tk {

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    RECT rect() const { return {left, top, left + width, top + height}; }
    bool contains(POINT p) const {
        return p.x >= left && p.y >= top && p.x < left + width && p.y < top + height;
    }
};

class AccessibleSurface;
class Container;
class WinControl;

class Control {
public:
    Control(Container& parent, Bounds bounds);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    Container& parent() const { return parent_; }
    const Bounds& bounds() const { return bounds_; }
    virtual void setBounds(Bounds bounds);
    bool visible() const { return visible_; }
    virtual void setVisible(bool visible);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }

    // Windowed controls return themselves; used for the focus order.
    virtual WinControl* asWinControl() { return nullptr; }

protected:
    Bounds bounds_;
    bool visible_ = true;

private:
    Container& parent_;
};

// A control drawn by its container: speed button, label, picture, bevel.
class Graphic : public Control {
public:
    Graphic(Container& parent, Bounds bounds);

    void setVisible(bool visible) override;
    void setBounds(Bounds bounds) override;
    void invalidate();
    // Paints the control over every other one of its container's surface from
    // now on, until another is brought above it.
    void bringToFront();
    // Paints the control at once, without waiting for messages.
    void repaintNow();

    virtual void paint(HDC dc) = 0;
    virtual void mouseEnter() {}
    virtual void mouseLeave() {}
    virtual void mouseDown(POINT, int /*button*/) {}
    virtual void mouseUp(POINT, int /*button*/) {}
    // Whether a press here belongs to this control (bevels let it through).
    virtual bool takesMouse() const { return true; }
};

// A control with a child window of its own.
class WinControl : public Control {
public:
    WinControl(Container& parent, Bounds bounds);
    ~WinControl() override;

    HWND handle() const { return handle_; }
    void setVisible(bool visible) override;
    void setBounds(Bounds bounds) override;
    void setFocus();
    bool focused() const;
    WinControl* asWinControl() override { return this; }
    // Windowed controls that take part in Tab navigation.
    virtual bool tabStop() const { return true; }
    // The child windows of panels, in focus order; empty for plain controls.
    virtual void collectFocusOrder(std::vector<WinControl*>& order);
    // Presses the control when it is its form's default button and can be
    // pressed; says whether it did.
    virtual bool pressAsDefault() { return false; }

    // Colours for WM_CTLCOLOR*; null lets the system choose.
    virtual HBRUSH controlColor(HDC) { return nullptr; }
    // WM_COMMAND notifications that the child sends its parent.
    virtual void command(WORD /*notification*/) {}
    // WM_DRAWITEM: an item of a control that its parent draws.
    virtual void drawItem(const DRAWITEMSTRUCT& /*item*/) {}

    static WinControl* fromHandle(HWND window);

protected:
    // Creates the child window; called by the concrete control's constructor.
    // Every control is a Unicode window, so it takes text of every script;
    // its text is given in UTF-8.
    void create(const wchar_t* windowClass, DWORD style, DWORD exStyle, const std::string& text,
                const Font& font);
    // Takes over a child window made elsewhere (panels make their own).
    void adopt(HWND window, const Font& font);

private:
    HWND handle_ = nullptr;
};

// A window that owns controls: forms and panels.
class Container {
public:
    Container();
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;
    virtual ~Container();

    virtual HWND containerHandle() const = 0;
    virtual Color color() const = 0;
    virtual const Font& font() const = 0;

    void add(Control& control) { controls_.push_back(&control); }
    void remove(Control& control);
    // In paint order, back to front.
    const std::vector<Control*>& controls() const { return controls_; }
    void moveToEnd(Control& control);
    void repaint();

protected:
    // The container's share of a window procedure: painting of the windowless
    // controls, mouse routing to them, colours and commands of the windowed
    // ones, and the accessible object of its client area. Returns true when
    // the message was handled into `result`.
    bool handleContainerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Paints the background, then the windowless controls over it.
    void paintSurface(HDC dc, const RECT& client);
    virtual void paintBackground(HDC dc, const RECT& client);

private:
    Graphic* graphicAt(POINT p) const;
    void trackHover(Graphic* graphic);

    std::vector<Control*> controls_;
    Graphic* hovered_ = nullptr;
    Graphic* pressed_ = nullptr;
    // Made when a client first asks; it goes with the window.
    std::unique_ptr<AccessibleSurface> accessible_;
};

} // namespace tk
