#include <gtest/gtest.h>

#include <cstdlib>

#include "picture_test_support.h"
#include "render2d/ring_warp.h"

TEST(RingWarp, WaveIsAParabolaRepeatedFourTimes) {
    RingWarp warp(nullptr);
    EXPECT_EQ(warp.wave[0], 31);
    EXPECT_EQ(warp.wave[127], -32);
    EXPECT_EQ(warp.wave[128], -31); // n = -1: -31.996 truncated toward zero
    EXPECT_EQ(warp.wave[255], 32);
    EXPECT_EQ(warp.wave[64], -16); // n = 63: -16.496
    for (int k = 0; k < 768; ++k) ASSERT_EQ(warp.wave[k + 256], warp.wave[k]) << k;
}

TEST(RingWarp, RingsAreRippledDistancesFromTheCentreKeptInAByte) {
    RingWarp warp(nullptr);
    auto ring = [&warp](int row, int column) { return int(warp.rings[row * 640 + column]); };
    EXPECT_EQ(ring(200, 320), 40);  // the centre: the ten-fold ripple alone
    EXPECT_EQ(ring(200, 420), 140); // 100 to the right, angle 0
    EXPECT_EQ(ring(200, 220), 140); // 100 to the left, angle pi
    EXPECT_EQ(ring(300, 320), 47);  // centre column: angle atan2(200, 1)
    EXPECT_EQ(ring(0, 320), 171);   // centre column, top row: atan2(-400, 1)
    EXPECT_EQ(ring(201, 323), 207); // -49.4: negative values wrap to the byte
    EXPECT_EQ(ring(199, 323), 231); // -25.2
    EXPECT_EQ(ring(0, 0), 141);     // 397.9
    EXPECT_EQ(ring(399, 639), 161); // 417.5
}

TEST(RingWarp, OffsetsWanderWithinTheirRangesAndAreHeldInsideTheRings) {
    for (float t = 0.0f; t < 200000.0f; t += 7.3f) {
        const WarpOffsets o = warpOffsetsAt(t);
        const int viewRow = o.pictureOffset / 640, viewCol = o.pictureOffset % 640;
        ASSERT_TRUE(viewRow >= 50 && viewRow <= 150 && viewCol >= 110 && viewCol <= 290) << t;
        for (int ring : {o.ringOffset1, o.ringOffset2, o.ringOffset3}) {
            const int row = ring / 640, col = ring % 640;
            ASSERT_TRUE(row >= 10 && row <= 190 && col >= 40 && col <= 280) << t;
            ASSERT_TRUE(ring >= kMinRingOffset && ring <= kMaxRingOffset);
        }
    }
    const WarpOffsets start = warpOffsetsAt(0.0f);
    EXPECT_EQ(start.pictureOffset, 143 * 640 + 200); // cos(0.5) * 50 + 100 = 143.9
    EXPECT_EQ(start.ringOffset1, 155 * 640 + 266);   // cos(0.9) * 90 + 100, sin(1.1) * 120 + 160

    RingWarp warp(nullptr);
    warp.setOffsets({0, -1000000, 2000000000, kMaxRingOffset});
    EXPECT_EQ(warp.ringOffset1, kMinRingOffset);
    EXPECT_EQ(warp.ringOffset2, kMaxRingOffset);
    EXPECT_EQ(warp.ringOffset3, kMaxRingOffset);
    // The extreme offsets read the table's first and last rows without leaving it.
    for (int y : {0, 199})
        for (int x : {0, 319}) EXPECT_LE(std::abs(warp.displacement(x, y)), 32);
}

// Pictures smaller than the view's reach (640 x 382) are read with the source index held inside
// them, so a short or narrow picture never reads past its end.
TEST(RingWarp, SourceIndexStaysInsideSmallPictures) {
    Picture shortPicture = randomPicture(640, 100, 4);
    Picture narrow = randomPicture(16, 16, 5);
    Picture grey(bgl_create_image(640, 400, 8, 256));
    for (const bglimage* picture :
         {shortPicture.get(), narrow.get(), grey.get(), static_cast<bglimage*>(nullptr)}) {
        RingWarp warp(picture);
        for (float t : {0.0f, 1000.0f, 33333.0f}) {
            warp.setOffsets(warpOffsetsAt(t));
            Pixel sum = 0;
            for (int y = 0; y < 200; ++y)
                for (int x = 0; x < 320; ++x) sum += warp.warpedPixel(x, y);
            if (picture == grey.get() || picture == nullptr) {
                EXPECT_EQ(sum, 0u); // read as black
            }
        }
        warp.setOffsets({-2000000000, 0, 0, 0});
        EXPECT_EQ(warp.sourceIndex(0, 0, -32), 0);
        warp.setOffsets({2000000000, 0, 0, 0});
        EXPECT_EQ(warp.sourceIndex(319, 199, 32), warp.lastPixel);
    }
    RingWarp warp(shortPicture.get());
    EXPECT_EQ(warp.lastPixel, 640 * 100 - 1);
    warp.setOffsets({1000, 0, 0, 0});
    EXPECT_EQ(warp.sourceIndex(5, 2, 3), 2 * 640 + 5 + 3 * 641 + 1000); // inside: not moved
}
