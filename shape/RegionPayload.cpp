#include "shape/RegionPayload.h"

namespace shape {
namespace {

constexpr std::size_t countSize = 4;
constexpr std::int64_t rectangleSize = 16;

std::int32_t readInt(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return static_cast<std::int32_t>(value);
}

void appendInt(Bytes& bytes, std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

RegionRect readRect(std::span<const std::uint8_t> bytes, std::size_t at) {
    return {readInt(bytes, at), readInt(bytes, at + 4), readInt(bytes, at + 8),
            readInt(bytes, at + 12)};
}

void appendRect(Bytes& bytes, const RegionRect& rect) {
    for (std::int32_t value : {rect.left, rect.top, rect.right, rect.bottom})
        appendInt(bytes, value);
}

} // namespace

std::optional<RegionData> readRegionPayload(std::span<const std::uint8_t> payload) {
    if (payload.size() < countSize)
        return std::nullopt;
    std::int64_t size = readInt(payload, 0);
    if (size < regionHeaderSize || size > static_cast<std::int64_t>(payload.size() - countSize))
        return std::nullopt;
    auto block = payload.subspan(countSize, static_cast<std::size_t>(size));
    RegionData region{.headerSize = readInt(block, 0),
                      .type = readInt(block, 4),
                      .count = readInt(block, 8),
                      .rectangleBytes = readInt(block, 12),
                      .bounds = readRect(block, 16)};
    if (region.headerSize != regionHeaderSize || region.type != regionRectangles ||
        region.count < 0 || size != regionHeaderSize + rectangleSize * region.count)
        return std::nullopt;
    region.rectangles.reserve(static_cast<std::size_t>(region.count));
    for (std::int32_t i = 0; i < region.count; ++i)
        region.rectangles.push_back(
            readRect(block, static_cast<std::size_t>(regionHeaderSize + rectangleSize * i)));
    return region;
}

Bytes regionBlock(const RegionData& region) {
    Bytes block;
    block.reserve(regionHeaderSize + rectangleSize * region.rectangles.size());
    appendInt(block, region.headerSize);
    appendInt(block, region.type);
    appendInt(block, region.count);
    appendInt(block, region.rectangleBytes);
    appendRect(block, region.bounds);
    for (const RegionRect& rect : region.rectangles)
        appendRect(block, rect);
    return block;
}

Bytes regionPayload(std::span<const std::uint8_t> block) {
    Bytes payload;
    payload.reserve(countSize + block.size());
    appendInt(payload, static_cast<std::int32_t>(block.size()));
    payload.insert(payload.end(), block.begin(), block.end());
    return payload;
}

} // namespace shape
