#include <gtest/gtest.h>

#include "pixel_test_support.h"
#include "render2d/zoom_mask.h"

TEST(ZoomMask, DarkensWhereTheMaskIsBrightAndFadesInWithTheLevel) {
    const Pixel still = 0x7FC8C8C8u; // 200 in each channel
    Canvas frame(4, 1, still), mask(4, 1);
    mask.at(0, 0) = 0x0000FF00u; // full green
    mask.at(1, 0) = 0x00FF00FFu; // no green: red and blue of the mask play no part
    mask.at(2, 0) = 0x00008000u;
    frame.at(3, 0) = 0x00C8C800u; // blue byte 0: left alone
    mask.at(3, 0) = 0x0000FF00u;

    Canvas ramp = frame;
    darkenByMask(ramp.pixels.data(), mask.pixels.data(), 128, 4);
    EXPECT_EQ(ramp.at(0, 0), 0x7F646464u); // m = 127, g = 128: 200 -> 100
    EXPECT_EQ(ramp.at(1, 0), 0x7FC7C7C7u); // m = 0, g = 255: 200 -> 199
    EXPECT_EQ(ramp.at(2, 0), 0x7F959595u); // m = 64, g = 191: 200 -> 149
    EXPECT_EQ(ramp.at(3, 0), 0x00C8C800u);

    Canvas whole = frame;
    darkenByMask(whole.pixels.data(), mask.pixels.data(), 255, 4);
    EXPECT_EQ(whole.at(0, 0), 0x7F000000u); // m = 255, g = 0
    Canvas start = frame;
    darkenByMask(start.pixels.data(), mask.pixels.data(), 0, 4);
    EXPECT_EQ(start.at(0, 0), 0x7FC7C7C7u);
    // A level that ran backwards (the clock was reset) must not brighten past a byte.
    Canvas backwards = frame;
    darkenByMask(backwards.pixels.data(), mask.pixels.data(), -300, 4);
    EXPECT_EQ(backwards.pixels, start.pixels);
}

TEST(ZoomMask, BranchFreePassMatchesThePlainPass) {
    for (int level : {-1000, -1, 0, 1, 37, 128, 253, 254, 255, 256, 100000}) {
        Canvas plain(320, 200), mask(320, 200);
        fillRandom(plain, 100 + level);
        fillRandom(mask, 200 + level);
        Canvas fast = plain;
        darkenByMaskPlain(plain.pixels.data(), mask.pixels.data(), level);
        darkenByMask(fast.pixels.data(), mask.pixels.data(), level);
        ASSERT_EQ(plain.pixels, fast.pixels) << level;
    }
}
