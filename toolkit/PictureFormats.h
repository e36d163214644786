// Readers of the picture file formats: Windows bitmaps, icons and metafiles.
// Each checks what it reads far enough that a damaged file fails with the
// user-facing text of its kind instead of crashing.
#pragma once

#include "toolkit/Handles.h"

#include <string>
#include <vector>

namespace tk {

using PictureBytes = std::vector<unsigned char>;

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
