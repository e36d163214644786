#include "toolkit/gui/SurfaceChildren.h"

#include "toolkit/gui/Graphics.h"
#include "toolkit/gui/Window.h"

#include <algorithm>

namespace tk {
namespace {

bool shown(const Graphic& graphic) {
    return graphic.visible() && IsWindowVisible(graphic.parent().containerHandle());
}

// Disabled while a modal window is up, as the mouse finds it.
bool enabled(const Graphic& graphic) {
    HWND window = graphic.parent().containerHandle();
    return IsWindowEnabled(window) && IsWindowEnabled(GetAncestor(window, GA_ROOT));
}

} // namespace

LONG accessibleRole(const Graphic& graphic) {
    if (dynamic_cast<const SpeedButton*>(&graphic))
        return ROLE_SYSTEM_PUSHBUTTON;
    if (dynamic_cast<const Label*>(&graphic))
        return ROLE_SYSTEM_STATICTEXT;
    return 0;
}

const std::string& accessibleName(const Graphic& graphic) {
    if (const auto* button = dynamic_cast<const SpeedButton*>(&graphic))
        return button->caption();
    return dynamic_cast<const Label&>(graphic).caption();
}

LONG accessibleState(const Graphic& graphic) {
    LONG state = shown(graphic) ? 0 : STATE_SYSTEM_INVISIBLE;
    if (accessibleRole(graphic) == ROLE_SYSTEM_STATICTEXT)
        return state | STATE_SYSTEM_READONLY;
    return enabled(graphic) ? state : state | STATE_SYSTEM_UNAVAILABLE;
}

HRESULT pressLater(Graphic& graphic) {
    if (!dynamic_cast<SpeedButton*>(&graphic))
        return DISP_E_MEMBERNOTFOUND;
    if (!shown(graphic) || !enabled(graphic))
        return E_FAIL;
    const Container* container = &graphic.parent();
    Control* pressed = &graphic;
    // Dropped when the button is gone or can no longer be clicked by then.
    bool posted = postToWindow(container->containerHandle(), [container, pressed] {
        const std::vector<Control*>& controls = container->controls();
        if (std::find(controls.begin(), controls.end(), pressed) == controls.end())
            return;
        auto* button = static_cast<SpeedButton*>(pressed);
        if (shown(*button) && enabled(*button))
            button->click();
    });
    return posted ? S_OK : E_FAIL;
}

Microsoft::WRL::ComPtr<IAccessible> windowObject(HWND window) {
    Microsoft::WRL::ComPtr<IAccessible> object;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(object.GetAddressOf()))))
        return nullptr;
    return object;
}

SurfaceChildren::SurfaceChildren(const Container& container)
    : window_(container.containerHandle()) {
    for (Control* control : container.controls())
        if (auto* graphic = dynamic_cast<Graphic*>(control); graphic && accessibleRole(*graphic))
            drawn_.push_back(graphic);
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        windows_.push_back(child);
}

Graphic* SurfaceChildren::drawnAt(LONG id) const {
    return id >= 1 && id <= static_cast<LONG>(drawn_.size()) ? drawn_[static_cast<size_t>(id - 1)]
                                                             : nullptr;
}

LONG SurfaceChildren::idOf(HWND window) const {
    auto at = std::find(windows_.begin(), windows_.end(), window);
    return at == windows_.end() ? 0
                                : static_cast<LONG>(drawn_.size() + (at - windows_.begin()) + 1);
}

HRESULT SurfaceChildren::variant(LONG id, VARIANT* out) const {
    if (!has(id))
        return S_FALSE;
    if (drawnAt(id)) {
        *out = childVariant(id);
        return S_OK;
    }
    Microsoft::WRL::ComPtr<IAccessible> window = windowObject(windowAt(id));
    if (!window)
        return E_FAIL;
    IDispatch* object = nullptr;
    HRESULT result = window->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(&object));
    if (SUCCEEDED(result)) {
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
    }
    return result;
}

HRESULT SurfaceChildren::at(POINT client, VARIANT* out) const {
    RECT area;
    GetClientRect(window_, &area);
    if (!PtInRect(&area, client))
        return S_FALSE;
    if (LONG id =
            idOf(ChildWindowFromPointEx(window_, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT)))
        return variant(id, out);
    for (auto graphic = drawn_.rbegin(); graphic != drawn_.rend(); ++graphic)
        if ((*graphic)->visible() && (*graphic)->bounds().contains(client))
            return variant(static_cast<LONG>(drawn_.rend() - graphic), out);
    *out = childVariant(CHILDID_SELF);
    return S_OK;
}

HRESULT SurfaceChildren::focused(VARIANT* out) const {
    HWND focus = GetFocus();
    if (focus == window_) {
        *out = childVariant(CHILDID_SELF);
        return S_OK;
    }
    if (!focus || !IsChild(window_, focus))
        return S_FALSE;
    while (GetParent(focus) != window_)
        focus = GetParent(focus);
    return variant(idOf(focus), out);
}

} // namespace tk
