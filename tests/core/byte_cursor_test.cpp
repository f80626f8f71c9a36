// The shared byte cursor: every file reader relies on its bounds and on its error staying set.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/byte_cursor.h"

TEST(ByteCursor, ReadsLittleEndianValuesInOrder) {
    const std::uint8_t bytes[] = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x80, 0x3f};
    ByteCursor in(bytes, sizeof bytes);
    EXPECT_EQ(in.u8(), 0x01);
    EXPECT_EQ(in.u16(), 0x1234);
    EXPECT_EQ(in.u32(), 0x12345678u);
    EXPECT_EQ(in.f32(), 1.0f);
    EXPECT_TRUE(in.atEnd());
    EXPECT_FALSE(in.failed());
}

TEST(ByteCursor, ShortReadGivesZerosAndTheErrorStaysSet) {
    const std::uint8_t bytes[] = {0xaa, 0xbb, 0xcc};
    ByteCursor in(bytes, sizeof bytes);
    in.u8();
    // Two bytes are left: a 32-bit read keeps them, zeroes the rest and fails.
    std::uint8_t out[4] = {1, 1, 1, 1};
    EXPECT_FALSE(in.take(out, 4));
    EXPECT_EQ(out[0], 0xbb);
    EXPECT_EQ(out[1], 0xcc);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[3], 0);
    EXPECT_TRUE(in.failed());
    EXPECT_TRUE(in.atEnd());
    // Nothing read afterwards counts, even where bytes would be.
    in.seek(0);
    EXPECT_EQ(in.u8(), 0);
    EXPECT_EQ(in.u32(), 0u);
    EXPECT_FALSE(in.skip(1));
    EXPECT_TRUE(in.failed());
}

TEST(ByteCursor, SkipAndWindowsStayInsideTheirBounds) {
    std::vector<std::uint8_t> bytes(16);
    for (int i = 0; i < 16; ++i) bytes[i] = std::uint8_t(i);

    ByteCursor whole(bytes.data(), bytes.size());
    EXPECT_TRUE(whole.skip(15));
    EXPECT_EQ(whole.u8(), 15);
    EXPECT_FALSE(whole.skip(1));
    EXPECT_TRUE(whole.failed());

    // A window reads only its own bytes; positions count from the start of the data.
    ByteCursor window(bytes.data(), 4, 8);
    EXPECT_EQ(window.pos(), 4u);
    EXPECT_EQ(window.remaining(), 4u);
    EXPECT_EQ(window.u32(), 0x07060504u);
    EXPECT_EQ(window.u8(), 0);
    EXPECT_TRUE(window.failed());

    // A skip far past the end (a length field from a hostile file) cannot wrap the position.
    ByteCursor hostile(bytes.data(), bytes.size());
    hostile.u8();
    EXPECT_FALSE(hostile.skip(~std::uint64_t(0)));
    EXPECT_EQ(hostile.pos(), 16u);
    EXPECT_EQ(hostile.remaining(), 0u);

    // A window whose start lies beyond its end is empty.
    ByteCursor inverted(bytes.data(), 12, 8);
    EXPECT_EQ(inverted.remaining(), 0u);
    EXPECT_EQ(inverted.u8(), 0);
    EXPECT_TRUE(inverted.failed());
}
