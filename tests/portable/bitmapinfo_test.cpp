#include "toolkit/pictures/BitmapInfo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

std::vector<unsigned char> header(std::uint32_t size, std::int32_t width, std::int32_t height,
                                  std::uint16_t bitCount) {
    std::vector<unsigned char> bytes(40, 0);
    auto put = [&](std::size_t at, std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    put(0, size, 4);
    put(4, static_cast<std::uint32_t>(width), 4);
    put(8, static_cast<std::uint32_t>(height), 4);
    put(12, 1, 2);
    put(14, bitCount, 2);
    return bytes;
}

} // namespace

// The bound holds a 30,000-pixel monochrome square (112 MB) and refuses the
// icon of 23,000 pixels a side that decodes to 2 GB; sides that would
// overflow the product fit nothing.
TEST(BitmapInfo, ThePictureBoundCountsTheBytesOfTheDecodedRows) {
    EXPECT_TRUE(tk::pictureFits(30000, 30000, 1));
    EXPECT_TRUE(tk::pictureFits(5792, 5792, 32));
    EXPECT_FALSE(tk::pictureFits(5793, 5793, 32));
    EXPECT_FALSE(tk::pictureFits(23000, 23000, 32));
    EXPECT_FALSE(tk::pictureFits(std::uint64_t{1} << 40, 1, 1));
    EXPECT_FALSE(tk::pictureFits(1, ~std::uint64_t{0}, 1));
    EXPECT_EQ(tk::rowBytes(3, 24), 12u);
    EXPECT_EQ(tk::rowBytes(33, 1), 8u);
}

TEST(BitmapInfo, HeadersAreReadOnlyWhole) {
    std::vector<unsigned char> info = header(40, 4, -2, 8);
    std::optional<tk::BitmapHeader> read = tk::readBitmapHeader(info.data(), info.size());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->height, -2);
    EXPECT_TRUE(tk::plausibleBitmap(*read));
    EXPECT_EQ(tk::pixelBytes(*read), 8u);
    EXPECT_FALSE(tk::readBitmapHeader(info.data(), 39)) << "cut short";
    info = header(24, 4, 2, 8);
    EXPECT_FALSE(tk::readBitmapHeader(info.data(), info.size())) << "a size no header has";
    info = header(40, 4, 2, 7);
    EXPECT_FALSE(tk::plausibleBitmap(*tk::readBitmapHeader(info.data(), info.size())));
}
