// The checks a metafile passes before the system's metafile player sees it:
// every header field the player trusts, and every record's size, must hold,
// or a crafted file can make the player loop or read past the data. Portable
// byte work, no system calls.
#pragma once

#include <cstddef>

namespace tk {

// The byte count of a sound enhanced metafile at the start of the data, or 0.
std::size_t enhancedMetafileBytes(const unsigned char* data, std::size_t size);

// The byte count of a sound old-style metafile (without a placeable header)
// at the start of the data, or 0.
std::size_t windowsMetafileBytes(const unsigned char* data, std::size_t size);

} // namespace tk
