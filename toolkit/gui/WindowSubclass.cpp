#include "toolkit/gui/WindowSubclass.h"

#include "toolkit/base/Error.h"

namespace tk {

void WindowSubclass::install(HWND window, SUBCLASSPROC procedure, void* owner) {
    if (window_ == window && procedure_ == procedure)
        return;
    remove();
    if (!SetWindowSubclass(window, procedure, 0, reinterpret_cast<DWORD_PTR>(owner)))
        throw Error("Error creating window");
    window_ = window;
    procedure_ = procedure;
}

void WindowSubclass::remove() {
    if (window_)
        RemoveWindowSubclass(window_, procedure_, 0);
    window_ = nullptr;
    procedure_ = nullptr;
}

} // namespace tk
