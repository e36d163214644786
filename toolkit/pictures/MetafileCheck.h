// The checks a metafile passes before the system's metafile player sees it:
// every header field the player trusts, and every record's size, must hold,
// or a crafted file can make the player loop or read past the data. Portable
// byte work, no system calls.
#pragma once

#include "toolkit/base/ByteReader.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tk {

// The byte count of a sound enhanced metafile at the start of the data, or 0.
std::size_t enhancedMetafileBytes(const ByteReader& data);

// The picture's size that a placeable header gives, in the metafile's units
// of which `unitsPerInch` make an inch: the player maps that much of the
// metafile onto as many pixels as it takes at 96 to the inch.
struct PlaceableFrame {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t unitsPerInch = 0;
};

// The byte count of a sound old-style metafile (without its placeable
// header, if it has one) at the start of the data, or 0.
std::size_t windowsMetafileBytes(const ByteReader& data,
                                 std::optional<PlaceableFrame> frame = std::nullopt);

} // namespace tk
