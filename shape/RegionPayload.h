// The stored form of a window shape: a signed 32-bit byte count N followed by
// N bytes of the system's region data (a 32-byte header, then the rectangles),
// all little-endian. Portable: the bytes come from outside the program.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace shape {

using Bytes = std::vector<std::uint8_t>;

struct RegionRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;  // exclusive
    std::int32_t bottom = 0; // exclusive
    bool operator==(const RegionRect&) const = default;
};

// The region data block as the system produces and consumes it.
struct RegionData {
    std::int32_t headerSize = 0;
    std::int32_t type = 0;
    std::int32_t count = 0;
    std::int32_t rectangleBytes = 0;
    RegionRect bounds;
    std::vector<RegionRect> rectangles;
};

inline constexpr std::int32_t regionHeaderSize = 32;
inline constexpr std::int32_t regionRectangles = 1; // the only type there is

// The region a payload describes; nothing for the empty payload (N = 0) and
// for any payload that does not hold together: a negative N, fewer bytes
// than N, a header that is not the rectangle header, or an N other than
// 32 + 16 x the header's count.
std::optional<RegionData> readRegionPayload(std::span<const std::uint8_t> payload);

// The N bytes after the count, ready for the system.
Bytes regionBlock(const RegionData& region);

// The payload for a data block as the system hands it out; an empty block
// gives the 4 zero bytes of "no region".
Bytes regionPayload(std::span<const std::uint8_t> block);

} // namespace shape
