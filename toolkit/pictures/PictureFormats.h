// Readers of the picture file formats: Windows bitmaps, icons and metafiles,
// turned into system objects once their bytes passed their checks, so that a
// damaged file fails with the user-facing text of its kind.
#pragma once

#include "toolkit/pictures/GdiHandles.h"
#include "toolkit/pictures/PictureLayouts.h"

#include <string>

namespace tk {

// The whole file; "Cannot open file %s" when it cannot be opened.
PictureBytes readPictureFile(const std::string& path);

// A DIB section; "Bitmap image is not valid" otherwise.
BitmapHandle readBitmapFile(const PictureBytes& bytes);

// The file's largest image; "Icon image is not valid" otherwise.
IconHandle readIconFile(const PictureBytes& bytes);

// An enhanced metafile, or an old-style one (with or without a placeable
// header) converted; "Metafile is not valid" otherwise.
MetafileHandle readMetafileFile(const PictureBytes& bytes);

} // namespace tk
