// The children a screen reader finds in a container's client area: first the
// drawn controls it can name (speed buttons and labels), in paint order, then
// the child windows, top first, as the system counts them; numbered from 1.
// Read anew for every question, so they follow the window's state.
#pragma once

#include "toolkit/gui/Control.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace tk {

class SurfaceChildren {
public:
    explicit SurfaceChildren(const Container& container);

    LONG count() const { return static_cast<LONG>(drawn_.size() + windows_.size()); }
    bool has(LONG id) const { return id >= 1 && id <= count(); }
    // The drawn control of a number; null for a child window.
    Graphic* drawnAt(LONG id) const;
    HWND windowAt(LONG id) const { return windows_[static_cast<size_t>(id - 1) - drawn_.size()]; }

    // A child as a client sees it: a drawn control by its number, a child
    // window as its own object. S_FALSE when there is no such child.
    HRESULT variant(LONG id, VARIANT* out) const;
    // The child at a point of the client area: child windows lie above
    // everything drawn, and the control painted last is on top.
    HRESULT at(POINT client, VARIANT* out) const;
    // The child window that holds the keyboard focus, or the area itself.
    HRESULT focused(VARIANT* out) const;

private:
    LONG idOf(HWND window) const;

    HWND window_;
    std::vector<Graphic*> drawn_;
    std::vector<HWND> windows_;
};

// What a drawn control tells a reader; a role of 0 keeps it out of sight.
LONG accessibleRole(const Graphic& graphic);
const std::string& accessibleName(const Graphic& graphic);
LONG accessibleState(const Graphic& graphic);
// Presses a drawn button as a click does, once the reader's call has
// returned: a modal window the button opens must not hold the reader.
HRESULT pressLater(Graphic& graphic);

// The system's object of a child window.
Microsoft::WRL::ComPtr<IAccessible> windowObject(HWND window);

inline VARIANT childVariant(LONG id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

} // namespace tk
