#include "shape/RegionPayload.h"

#include "toolkit/base/ByteReader.h"

namespace shape {
namespace {

constexpr std::size_t countSize = 4;
constexpr std::int64_t rectangleSize = 16;

void appendRect(Bytes& bytes, const RegionRect& rect) {
    for (std::int32_t value : {rect.left, rect.top, rect.right, rect.bottom})
        tk::appendLittleEndian(bytes, value);
}

std::optional<RegionRect> readRect(const tk::ByteReader& bytes, std::size_t at) {
    RegionRect rect;
    if (!bytes.read(at, rect.left) || !bytes.read(at + 4, rect.top) ||
        !bytes.read(at + 8, rect.right) || !bytes.read(at + 12, rect.bottom))
        return std::nullopt;
    return rect;
}

} // namespace

std::optional<RegionData> readRegionPayload(std::span<const std::uint8_t> payload) {
    tk::ByteReader bytes(payload);
    std::int32_t size = 0;
    if (!bytes.read(0, size) || size < regionHeaderSize)
        return std::nullopt;
    std::optional<tk::ByteReader> block = bytes.part(countSize, static_cast<std::size_t>(size));
    if (!block)
        return std::nullopt;
    RegionData region;
    std::optional<RegionRect> bounds = readRect(*block, 16);
    if (!block->read(0, region.headerSize) || !block->read(4, region.type) ||
        !block->read(8, region.count) || !block->read(12, region.rectangleBytes) || !bounds)
        return std::nullopt;
    region.bounds = *bounds;
    if (region.headerSize != regionHeaderSize || region.type != regionRectangles ||
        region.count < 0 || size != regionHeaderSize + rectangleSize * region.count)
        return std::nullopt;
    region.rectangles.reserve(static_cast<std::size_t>(region.count));
    for (std::int32_t i = 0; i < region.count; ++i) {
        auto rect =
            readRect(*block, static_cast<std::size_t>(regionHeaderSize + rectangleSize * i));
        if (!rect)
            return std::nullopt;
        region.rectangles.push_back(*rect);
    }
    return region;
}

Bytes regionBlock(const RegionData& region) {
    Bytes block;
    block.reserve(regionHeaderSize + rectangleSize * region.rectangles.size());
    for (std::int32_t value : {region.headerSize, region.type, region.count, region.rectangleBytes})
        tk::appendLittleEndian(block, value);
    appendRect(block, region.bounds);
    for (const RegionRect& rect : region.rectangles)
        appendRect(block, rect);
    return block;
}

Bytes regionPayload(std::span<const std::uint8_t> block) {
    Bytes payload;
    payload.reserve(countSize + block.size());
    tk::appendLittleEndian(payload, static_cast<std::int32_t>(block.size()));
    payload.insert(payload.end(), block.begin(), block.end());
    return payload;
}

} // namespace shape
