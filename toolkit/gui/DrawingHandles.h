// Owners of the drawing objects the window framework makes for its windows:
// fonts, brushes, pens and window regions.
#pragma once

#include "toolkit/base/Handles.h"

namespace tk {

template <typename T> struct DrawingObjectTraits {
    using Type = T;
    static Type null() { return nullptr; }
    static void close(Type h) { DeleteObject(h); }
};

using FontHandle = UniqueHandle<DrawingObjectTraits<HFONT>>;
using BrushHandle = UniqueHandle<DrawingObjectTraits<HBRUSH>>;
using PenHandle = UniqueHandle<DrawingObjectTraits<HPEN>>;
using RegionHandle = UniqueHandle<DrawingObjectTraits<HRGN>>;

} // namespace tk
