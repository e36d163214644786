// Pictures shown by the windows: bitmaps, icons and metafiles, read from
// files or from the program's resources.
#pragma once

#include "toolkit/pictures/GdiHandles.h"
#include "toolkit/pictures/PictureLayouts.h"

#include <windows.h>

#include <memory>
#include <string>

namespace tk {

// One owned picture: a bitmap (a DIB section), an icon, an enhanced metafile
// (old-style metafiles are converted), or nothing. Moving hands it over;
// copy() duplicates it. A picture is complete once built, so a failed load
// leaves whatever the caller held untouched. Converting an old-style metafile
// plays it, so a checked one waits until it is first measured or drawn: a
// picture that is never shown is never played.
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
    bool empty() const { return !bitmap_ && !icon_ && !metafile_ && !oldStyle_; }
    bool isBitmap() const { return bitmap_ || blankBitmap_; }
    int width() const;
    int height() const;
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
    explicit Picture(std::shared_ptr<const PictureBytes> oldStyle);

    void drawBitmap(HDC dc, const RECT& target, bool stretch, bool transparent) const;
    // The enhanced metafile, converted from the old-style one at its first
    // use; throws Error when the system cannot convert it.
    HENHMETAFILE metafile() const;
    void measureMetafile() const;

    BitmapHandle bitmap_;
    IconHandle icon_;
    std::shared_ptr<const PictureBytes> oldStyle_;
    mutable MetafileHandle metafile_;
    bool blankBitmap_ = false;
    mutable int width_ = 0;
    mutable int height_ = 0;
};

} // namespace tk
