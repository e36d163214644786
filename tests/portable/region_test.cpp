#include "shape/RegionPayload.h"

#include "support/StoredShape.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <utility>

using namespace testing_support;

namespace {

void putInt(shape::Bytes& bytes, std::size_t at, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

// A 24-bit bottom-up bitmap file, read just far enough to look at its pixels.
class Bitmap24 {
public:
    explicit Bitmap24(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
        if (bytes_.size() < 54 || intAt(28) % 65536 != 24)
            return;
        offset_ = static_cast<std::size_t>(intAt(10));
        width = intAt(18);
        height = intAt(22);
        stride_ = static_cast<std::size_t>((width * 3 + 3) / 4 * 4);
    }
    bool white(int x, int y) const {
        std::size_t at = offset_ + static_cast<std::size_t>(height - 1 - y) * stride_ +
                         static_cast<std::size_t>(x) * 3;
        return bytes_.at(at) == 255 && bytes_.at(at + 1) == 255 && bytes_.at(at + 2) == 255;
    }
    int width = 0;
    int height = 0;

private:
    std::int32_t intAt(std::size_t at) const {
        return static_cast<std::int32_t>(bytes_[at] | bytes_[at + 1] << 8 | bytes_[at + 2] << 16 |
                                         static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
    }
    std::vector<unsigned char> bytes_;
    std::size_t offset_ = 0;
    std::size_t stride_ = 0;
};

bool inside(const std::vector<shape::RegionRect>& rectangles, int x, int y) {
    for (const auto& r : rectangles)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    return false;
}

} // namespace

TEST(StoredShape, HasTheMainWindowsHeaderBoundsAndBandedRectangles) {
    shape::Bytes payload = storedMainWindowPayload();
    ASSERT_EQ(payload.size(), 1924u);
    auto region = shape::readRegionPayload(payload);
    ASSERT_TRUE(region);
    EXPECT_EQ(payload[0] | payload[1] << 8, 1920);
    EXPECT_EQ(region->headerSize, 32);
    EXPECT_EQ(region->type, 1);
    EXPECT_EQ(region->count, 118);
    EXPECT_EQ(region->rectangleBytes, 1888);
    EXPECT_EQ(region->bounds, (shape::RegionRect{10, 8, 325, 364}));
    ASSERT_EQ(region->rectangles.size(), 118u);

    // Banded: bands follow each other downwards; within one band the
    // rectangles share top and bottom and run left to right without touching.
    std::set<std::pair<int, int>> bands;
    shape::RegionRect union_{1000, 1000, -1, -1};
    const shape::RegionRect* previous = nullptr;
    for (const auto& r : region->rectangles) {
        EXPECT_LT(r.left, r.right);
        EXPECT_LT(r.top, r.bottom);
        if (previous && previous->top == r.top) {
            EXPECT_EQ(previous->bottom, r.bottom);
            EXPECT_GT(r.left, previous->right);
        } else if (previous) {
            EXPECT_GE(r.top, previous->bottom);
        }
        bands.insert({r.top, r.bottom});
        union_ = {std::min(union_.left, r.left), std::min(union_.top, r.top),
                  std::max(union_.right, r.right), std::max(union_.bottom, r.bottom)};
        previous = &r;
    }
    EXPECT_EQ(bands.size(), 64u);
    EXPECT_EQ(union_, region->bounds);
}

TEST(StoredShape, CoversExactlyTheNonWhitePixelsOfTheDefaultSkin) {
    Bitmap24 skin(sourceFile("assets/skin.bmp"));
    ASSERT_EQ(skin.width, 338);
    ASSERT_EQ(skin.height, 381);
    auto region = shape::readRegionPayload(storedMainWindowPayload());
    ASSERT_TRUE(region);
    int wrong = 0;
    for (int y = 0; y < skin.height; ++y)
        for (int x = 0; x < skin.width; ++x)
            if (inside(region->rectangles, x, y) == skin.white(x, y) && ++wrong <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y
                              << (skin.white(x, y) ? " is white inside" : " is not white outside");
    EXPECT_EQ(wrong, 0);
}

TEST(RegionPayload, ReadsAndWritesBackTheSameBytes) {
    shape::Bytes payload = storedMainWindowPayload();
    auto region = shape::readRegionPayload(payload);
    ASSERT_TRUE(region);
    EXPECT_EQ(shape::regionPayload(shape::regionBlock(*region)), payload);

    // A region of no rectangles is still a region; no data at all is none.
    shape::Bytes empty = shape::regionPayload(shape::regionBlock({32, 1, 0, 0, {}, {}}));
    ASSERT_EQ(empty.size(), 36u);
    EXPECT_TRUE(shape::readRegionPayload(empty));
    EXPECT_EQ(shape::regionPayload({}), (shape::Bytes{0, 0, 0, 0}));
    EXPECT_FALSE(shape::readRegionPayload(shape::Bytes{0, 0, 0, 0}));
}

TEST(RegionPayload, RefusesPayloadsThatDoNotHoldTogether) {
    const shape::Bytes good = storedMainWindowPayload();
    auto damaged = [&](std::size_t at, std::int32_t value) {
        shape::Bytes bytes = good;
        putInt(bytes, at, value);
        return bytes;
    };
    const std::vector<std::pair<const char*, shape::Bytes>> cases = {
        {"nothing", {}},
        {"three bytes", {0x80, 0x07, 0}},
        {"negative count", damaged(0, -16)},
        {"most negative count", damaged(0, INT32_MIN)},
        {"count beyond the bytes", damaged(0, 1936)},
        {"count below the header", damaged(0, 16)},
        {"count not 32 + 16 x rectangles", damaged(12, 117)},
        {"negative rectangles", damaged(12, -1)},
        {"huge rectangles", damaged(12, INT32_MAX)},
        {"header size", damaged(4, 31)},
        {"region type", damaged(8, 2)},
        {"last byte missing", shape::Bytes(good.begin(), good.end() - 1)},
    };
    for (const auto& [what, bytes] : cases)
        EXPECT_FALSE(shape::readRegionPayload(bytes)) << what;

    // The count does not have to match the whole stored length, only fit it.
    shape::Bytes longer = good;
    longer.push_back(0);
    EXPECT_TRUE(shape::readRegionPayload(longer));
}
