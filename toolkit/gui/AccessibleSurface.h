// What a screen reader finds in a container's client area. The speed buttons
// and labels painted on the surface have no windows, so the system would see
// one unnamed area: they are offered as simple children of the client's
// accessible object (push buttons pressed by their default action, static
// texts), beside the child windows, which the system's own objects describe.
#pragma once

#include <windows.h>

namespace tk {

class Container;
class SurfaceObject;

class AccessibleSurface {
public:
    explicit AccessibleSurface(Container& container);
    // Clients that still hold the object are told from now on that it is
    // gone (CO_E_OBJNOTCONNECTED in this process, RPC_E_DISCONNECTED in
    // another), so the container may go.
    ~AccessibleSurface();
    AccessibleSurface(const AccessibleSurface&) = delete;
    AccessibleSurface& operator=(const AccessibleSurface&) = delete;

    // The answer to WM_GETOBJECT for the client area: the object, marshalled
    // for the asking client.
    LRESULT answer(WPARAM wParam);

private:
    Container& container_;
    SurfaceObject* object_ = nullptr; // one reference, made at the first answer
};

} // namespace tk
