#include "toolkit/base/ByteReader.h"

#include <gtest/gtest.h>

#include <limits>

using tk::ByteReader;

TEST(ByteReader, ReadsLittleEndianFieldsOnlyWhollyInsideTheBlock) {
    const std::vector<std::uint8_t> bytes{0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF};
    ByteReader reader(bytes);
    EXPECT_EQ(reader.get<std::uint32_t>(0), 0x04030201u);
    EXPECT_EQ(reader.get<std::uint16_t>(4), 0xFFFEu);
    EXPECT_EQ(reader.get<std::int16_t>(4), -2);
    EXPECT_EQ(reader.get<std::uint32_t>(3), std::nullopt);
    EXPECT_EQ(reader.get<std::uint16_t>(5), std::nullopt);
    EXPECT_EQ(reader.get<std::uint8_t>(6), std::nullopt);
    // Offsets near the top of the range must not wrap around to the start.
    const std::size_t huge = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(reader.get<std::uint16_t>(huge), std::nullopt);
    EXPECT_FALSE(reader.has(2, huge));
    EXPECT_FALSE(reader.part(huge - 1, 2));

    std::int32_t kept = 7;
    EXPECT_FALSE(reader.read(4, kept));
    EXPECT_EQ(kept, 7);
    ASSERT_TRUE(reader.part(2, 4));
    EXPECT_EQ(reader.part(2, 4)->get<std::int32_t>(0), std::int32_t(0xFFFE0403));
}

TEST(ByteReader, WritesWhatItReads) {
    std::vector<std::uint8_t> bytes;
    tk::appendLittleEndian(bytes, std::int32_t{-2});
    tk::appendLittleEndian(bytes, std::uint16_t{0x1234});
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12}));
    EXPECT_EQ(ByteReader(bytes).get<std::int32_t>(0), -2);
}
