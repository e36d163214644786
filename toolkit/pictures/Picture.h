// Pictures shown by the windows: bitmaps, icons and metafiles, read from
// files or from the program's resources.
#pragma once

#include "toolkit/pictures/GdiHandles.h"

#include <windows.h>

#include <string>

namespace tk {

// One owned picture: a bitmap (a DIB section), an icon, an enhanced metafile
// (old-style metafiles are converted), or nothing. Moving hands it over;
// copy() duplicates it. A picture is complete once built, so a failed load
// leaves whatever the caller held untouched.
class Picture {
public:
    Picture() = default;

    // Reads a picture file whose extension, in any case, names its kind:
    // bmp, ico, emf or wmf. Throws Error with the text the user is shown.
    static Picture fromFile(const std::string& path);
    // A BITMAP resource of the running program.
    static Picture fromBitmapResource(int id);
    // A bitmap without an image: of the bitmap kind, but nothing to draw.
    static Picture emptyBitmap();

    // Nothing to draw: no picture, or an empty bitmap.
    bool empty() const { return !bitmap_ && !icon_ && !metafile_; }
    bool isBitmap() const { return bitmap_ || blankBitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }
    Picture copy() const;

    // At natural size from the target's top-left corner, cut at the target,
    // or stretched to the target. Transparent drawing leaves out every pixel
    // of the colour of a bitmap's bottom-left pixel; icons and metafiles are
    // transparent by nature.
    void draw(HDC dc, const RECT& target, bool stretch, bool transparent) const;

private:
    explicit Picture(BitmapHandle bitmap);
    explicit Picture(IconHandle icon);
    explicit Picture(MetafileHandle metafile);

    void drawBitmap(HDC dc, const RECT& target, bool stretch, bool transparent) const;

    BitmapHandle bitmap_;
    IconHandle icon_;
    MetafileHandle metafile_;
    bool blankBitmap_ = false;
    int width_ = 0;
    int height_ = 0;
};

} // namespace tk
