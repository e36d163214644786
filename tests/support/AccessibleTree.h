// Test support: a window's client area as a screen reader reads it, through
// the window's accessible object, in the test's own process (Wine answers no
// other process).
#pragma once

#include "toolkit/gui/SurfaceChildren.h"
#include "toolkit/text/CodePage.h"

#include <cstdio>
#include <string>
#include <vector>

namespace testing_support {

using Microsoft::WRL::ComPtr;
using tk::childVariant;

inline ComPtr<IAccessible> clientObject(HWND window) {
    ComPtr<IAccessible> client;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(client.GetAddressOf()));
    return client;
}

// A child of a client area: a drawn control its parent describes by `id`, or
// a child window, which describes itself (`id` 0).
struct AccessibleChild {
    LONG id = 0;
    std::string name;
    std::string action;
    VARIANT role{};
    VARIANT state{};
    LONG left = 0, top = 0, width = 0, height = 0;

    bool shown() const { return !(state.lVal & STATE_SYSTEM_INVISIBLE); }
    bool window() const { return id == 0; }
    std::string line() const {
        char text[160];
        std::string result = window() ? std::string("window") : '#' + std::to_string(id);
        std::snprintf(text, sizeof text, " role %ld, state 0x%lx, at %ld,%ld %ldx%ld", role.lVal,
                      state.lVal, left, top, width, height);
        result.append(" \"").append(name).append("\"").append(text);
        if (!action.empty())
            result.append(", action \"").append(action).append("\"");
        return result;
    }
};

inline std::string taken(BSTR text) {
    std::string value = text ? tk::wideToUtf8(text) : "";
    SysFreeString(text);
    return value;
}

inline AccessibleChild describe(IAccessible& object, LONG id) {
    AccessibleChild child{.id = id};
    BSTR name = nullptr, action = nullptr;
    object.get_accName(childVariant(id), &name);
    object.get_accDefaultAction(childVariant(id), &action);
    child.name = taken(name);
    child.action = taken(action);
    object.get_accRole(childVariant(id), &child.role);
    object.get_accState(childVariant(id), &child.state);
    object.accLocation(&child.left, &child.top, &child.width, &child.height, childVariant(id));
    return child;
}

// Every child of the window's client area, in the order its object numbers
// them. A child window is read through its client area's object, as a
// reader goes on into it: Wine's window objects tell nothing.
inline std::vector<AccessibleChild> accessibleChildren(HWND window) {
    std::vector<AccessibleChild> children;
    ComPtr<IAccessible> client = clientObject(window);
    LONG count = 0;
    if (client)
        client->get_accChildCount(&count);
    for (LONG id = 1; id <= count; ++id) {
        ComPtr<IDispatch> object;
        ComPtr<IAccessible> windowObject, inside;
        HWND child = nullptr;
        if (client->get_accChild(childVariant(id), object.GetAddressOf()) == S_OK &&
            SUCCEEDED(object.As(&windowObject)) &&
            SUCCEEDED(WindowFromAccessibleObject(windowObject.Get(), &child)) &&
            (inside = clientObject(child)))
            children.push_back(describe(*inside.Get(), CHILDID_SELF));
        else
            children.push_back(describe(*client.Get(), id));
    }
    return children;
}

} // namespace testing_support
