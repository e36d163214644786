// Owners of the objects pictures are made of and drawn with: bitmaps, icons,
// metafiles and memory DCs. The window framework owns its fonts, brushes, pens
// and regions itself (toolkit/gui/DrawingHandles.h).
#pragma once

#include "toolkit/base/Handles.h"

namespace tk {

struct BitmapTraits {
    using Type = HBITMAP;
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

using BitmapHandle = UniqueHandle<BitmapTraits>;
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
