// Owners of drawing objects: bitmaps, fonts, brushes, pens, regions, memory
// DCs, icons and metafiles.
#pragma once

#include "toolkit/base/Handles.h"

namespace tk {

template <typename T> struct GdiTraits {
    using Type = T;
    static Type null() { return nullptr; }
    static void close(Type h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    using Type = HDC;
    static Type null() { return nullptr; }
    static void close(Type h) { DeleteDC(h); }
};
struct IconTraits {
    using Type = HICON;
    static Type null() { return nullptr; }
    static void close(Type h) { DestroyIcon(h); }
};
struct MetafileTraits {
    using Type = HENHMETAFILE;
    static Type null() { return nullptr; }
    static void close(Type h) { DeleteEnhMetaFile(h); }
};

using BitmapHandle = UniqueHandle<GdiTraits<HBITMAP>>;
using FontHandle = UniqueHandle<GdiTraits<HFONT>>;
using BrushHandle = UniqueHandle<GdiTraits<HBRUSH>>;
using PenHandle = UniqueHandle<GdiTraits<HPEN>>;
using RegionHandle = UniqueHandle<GdiTraits<HRGN>>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
using IconHandle = UniqueHandle<IconTraits>;
using MetafileHandle = UniqueHandle<MetafileTraits>;

// Selects an object into a DC and restores the previous one on scope exit.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    ~SelectObjectScope() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace tk
