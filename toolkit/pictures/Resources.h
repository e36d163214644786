// The program's own resources, read from the running executable: its bitmaps
// and its raw data blocks.
#pragma once

#include "toolkit/pictures/GdiHandles.h"

#include <cstdint>
#include <vector>

namespace tk {

// A BITMAP resource as a DIB section; null when there is none.
BitmapHandle bitmapResource(int id);

// An RCDATA resource, as stored; empty when there is none.
std::vector<std::uint8_t> resourceBytes(int id);

} // namespace tk
