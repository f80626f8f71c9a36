#include <gtest/gtest.h>

#include <algorithm>

#include "effects/first_warp.h"
#include "effects/second_warp.h"
#include "effects/second_zoom.h"
#include "effects/support/warp_edges.h"
#include "render2d/warp_mix.h"
#include "zoom_warp_fixture.h"

using effect_test::ZoomWarpTest;

TEST_F(ZoomWarpTest, FirstWarpRestartsTheClockAndSweepsInFromTheRight) {
    FirstWarp warp;
    warp.load();
    showTime = 5000.0f;
    warp.start();
    EXPECT_EQ(showTime, 0.0f);
    advanceShowTime(2.5); // the show clock runs on from the new zero
    EXPECT_EQ(showTime, 2.5f);

    // At t = 0 the edge stands near the right border: the still picture almost everywhere. The
    // last column never takes the ramp: rows whose edge stands at or past it show the still
    // picture there, all others the rippling one.
    showTime = 0.0f;
    warp.render();
    dump("first_warp_0");
    EXPECT_TRUE(frameMatches([&](int x, int y) { return warp.stillPicture.pixels()[y * 320 + x]; }, 1, 285));
    int edges[200];
    firstWarpEdges(0.0f, edges);
    int rippledRows = 0;
    for (int y = 0; y < 200; ++y) {
        const bool still = edges[y] >= 320;
        rippledRows += still ? 0 : 1;
        ASSERT_EQ(pixelAt(319, y),
                  still ? warp.stillPicture.pixels()[y * 320 + 319] : warp.warp->warpedPixel(319, y));
    }
    EXPECT_GT(rippledRows, 0);
    EXPECT_LT(rippledRows, 200);

    showTime = 300.0f;
    warp.render();
    dump("first_warp_300");
    EXPECT_EQ(frameChecksum(), 0x9a3545256805c84cull) << std::hex << frameChecksum();

    // After about 6.3 seconds the rippling picture covers the whole screen.
    showTime = 700.0f;
    warp.render();
    EXPECT_TRUE(frameMatches([&](int x, int y) { return warp.warp->warpedPixel(x, y); }));
}

TEST_F(ZoomWarpTest, SecondWarpSweepsFromTheLeftThenFadesOverTheSecondZoom) {
    secondZoom.load();
    SecondWarp warp;
    warp.load();
    showTime = 100.0f;
    warp.start();
    warp.render();
    dump("second_warp_0");
    for (int y = 0; y < 200; ++y) ASSERT_EQ(pixelAt(319, y), warp.warpA->warpedPixel(319, y));
    EXPECT_EQ(pixelAt(20, 120), 0xFF000080u);

    showTime = 1300.0f; // the edge stands near column 200
    warp.render();
    dump("second_warp_1200");
    EXPECT_EQ(frameChecksum(), 0x55d9fb68712a63d4ull) << std::hex << frameChecksum();

    showTime = 2500.0f; // the edge has passed the right border: "orion5.jpg" everywhere
    warp.render();
    EXPECT_TRUE(frameMatches([&](int x, int y) { return warp.warpB->warpedPixel(x, y); }));

    // The first 240 hands the clock and the sync count over to the second zoom, which is drawn
    // underneath from now on and stays in its first phase.
    secondZoom.lastTime = 0;
    syncCount.store(1);
    syncValue = 240;
    musicRow = 0;
    showTime = 2600.75f;
    warp.render();
    EXPECT_EQ(warp.phase, 1);
    EXPECT_EQ(secondZoom.lastTime, 2600);
    EXPECT_EQ(secondZoom.pages.seen(), 1);
    EXPECT_EQ(secondZoom.phase, 0);
    EXPECT_TRUE(frameMatches([&](int x, int y) { return warp.buffer[y * 320 + x]; }, 5));

    musicRow = 48;
    showTime = 2610.0f;
    warp.render();
    EXPECT_EQ(secondZoom.lastTime, 2610); // kept by the second zoom itself
    dump("second_warp_fading");
    EXPECT_EQ(frameChecksum(), 0x2f1ebce563e84087ull) << std::hex << frameChecksum();

    // A later 240: only the relief window and the logo over what the screen holds.
    syncCount.store(2);
    warp.render();
    EXPECT_EQ(warp.phase, 2);
    auto* pixels = static_cast<std::uint32_t*>(backSurface->lock());
    std::fill(pixels, pixels + 320 * 200, 0x00654321u);
    backSurface->unlock();
    warp.render();
    EXPECT_EQ(pixelAt(319, 199), 0x00654321u);
    EXPECT_EQ(pixelAt(20, 120), 0xFF000080u);
}

// Warped pictures smaller than the view's reach are read with the source held inside them, and a
// small still picture reads as black around it.
TEST_F(ZoomWarpTest, WarpsOfSmallPicturesStayInsideThem) {
    effect_test::writeJpeg("data/orion2.jpg", 320, 100, [](int x, int y, std::uint8_t rgb[3]) {
        rgb[0] = static_cast<std::uint8_t>(x);
        rgb[1] = static_cast<std::uint8_t>(y);
        rgb[2] = 77;
    });
    effect_test::writeJpeg("data/orion5.jpg", 16, 8, [](int x, int, std::uint8_t rgb[3]) {
        rgb[0] = rgb[1] = rgb[2] = static_cast<std::uint8_t>(x * 9);
    });
    effect_test::writeJpeg("data/corpse2.jpg", 100, 50,
                           [](int, int, std::uint8_t rgb[3]) { rgb[0] = rgb[1] = rgb[2] = 200; });
    FirstWarp first;
    first.load();
    SecondWarp second;
    second.load();
    secondZoom.load();
    for (float t : {0.0f, 350.0f, 900.0f, 20000.0f}) {
        showTime = t;
        first.render();
        if (t == 0.0f) {
            EXPECT_EQ(pixelAt(50, 25) & 0xFFFFFFu, 0x00C8C8C8u);
            EXPECT_EQ(pixelAt(200, 100), 0u);
        }
        second.start();
        showTime = t + 1200.0f;
        second.render();
    }
    EXPECT_EQ(first.warp->lastPixel, 320 * 100 - 1);
    EXPECT_EQ(second.warpB->lastPixel, 16 * 8 - 1);
}
