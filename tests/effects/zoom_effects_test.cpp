#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "effects/first_zoom.h"
#include "effects/second_zoom.h"
#include "effects/tunnel_effect.h"
#include "render2d/zoom_mask.h"
#include "zoom_warp_fixture.h"

using effect_test::ZoomWarpTest;

namespace {

void fillSurface(std::uint32_t value) {
    auto* pixels = static_cast<std::uint32_t*>(backSurface->lock());
    std::fill(pixels, pixels + 320 * 200, value);
    backSurface->unlock();
}

} // namespace

TEST_F(ZoomWarpTest, FirstZoomTakesOddSizedPicturesAtFullSizeAndStartsThePairHalfACycleApart) {
    FirstZoom zoom;
    zoom.load();
    ASSERT_EQ(zoom.zoomer.count, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(zoom.zoomer.pictures[i]->width, 512);
        EXPECT_EQ(zoom.zoomer.pictures[i]->height, 512);
    }
    EXPECT_EQ(zoom.depthA, 512.0f);
    EXPECT_EQ(zoom.depthB, 768.0f);

    // The first picture is at its brightest, the second still dark: only the first is drawn.
    showTime = 1000.0f;
    zoom.start();
    zoom.render();
    std::vector<Pixel> expected(320 * 200, 0);
    zoom.zoomer.drawZoomed(expected.data(), zoom.zoomer.pixelsA, 0, 0, 312, 255);
    EXPECT_EQ(zoom.buffer, expected);
    EXPECT_EQ(zoom.zoomer.pixelsA, reinterpret_cast<const Pixel*>(zoom.zoomer.pictures[0]->image));
    EXPECT_EQ(zoom.zoomer.pixelsB, reinterpret_cast<const Pixel*>(zoom.zoomer.pictures[1]->image));
    // No time has passed, so the mask is still at level 0: the still picture, each byte one step
    // darker (byte * 255 >> 8), where it is not black.
    std::vector<Pixel> still(zoom.background.pixels(), zoom.background.pixels() + 320 * 200);
    darkenByMaskPlain(still.data(), zoom.buffer.data(), 0);
    EXPECT_TRUE(frameMatches([&](int x, int y) { return still[y * 320 + x]; }));
    // The figure's middle, (200, 100, 180), one step darker.
    EXPECT_EQ(pixelAt(160, 100) & 0xFFFFFFu, 0x00C763B3u);
}

TEST_F(ZoomWarpTest, FirstZoomMaskFadesInAndFreezesAfterTheFlight) {
    FirstZoom zoom;
    zoom.load();
    showTime = 1000.0f;
    zoom.start();
    for (int n = 1; n <= 6; ++n) {
        showTime = 1000.0f + 10.0f * n;
        zoom.render();
        EXPECT_EQ(zoom.maskLevel, 20 * n); // two levels per hundredth
    }
    // The frame is the still picture darkened by the zooming pictures at the mask's level.
    std::vector<Pixel> expected(zoom.background.pixels(), zoom.background.pixels() + 320 * 200);
    darkenByMaskPlain(expected.data(), zoom.buffer.data(), 120);
    EXPECT_TRUE(frameMatches([&](int x, int y) { return expected[y * 320 + x]; }));
    EXPECT_FLOAT_EQ(zoom.depthA, 512.0f - 6 * (10.0f * 2.0f / 3.0f));
    dump("first_zoom_60");
    EXPECT_EQ(frameChecksum(), 0xd64cc942222dfe92ull) << std::hex << frameChecksum();

    // 512 depth units of flight, with the sequence moving on as each picture passes the viewer.
    while (zoom.travelled < 512.0f) {
        showTime += 10.0f;
        zoom.render();
    }
    EXPECT_EQ(zoom.zoomer.indexA, 2);
    EXPECT_EQ(zoom.zoomer.indexB, 3);
    const std::vector<Pixel> frozen = zoom.buffer;
    dump("first_zoom_end_of_flight");

    // Restarted, the zoom does not fly again: the still picture under the frozen mask.
    showTime += 500.0f;
    zoom.start();
    const float travelled = zoom.travelled;
    for (int n = 0; n < 5; ++n) {
        showTime += 10.0f;
        zoom.render();
    }
    EXPECT_EQ(zoom.buffer, frozen);
    EXPECT_GT(zoom.travelled, travelled);
    std::vector<Pixel> whole(zoom.background.pixels(), zoom.background.pixels() + 320 * 200);
    darkenByMaskPlain(whole.data(), frozen.data(), 255);
    EXPECT_EQ(pixelAt(160, 100), whole[100 * 320 + 160]);
}

TEST_F(ZoomWarpTest, FirstZoomCrossFadesToTheFinalPictureOnSync240) {
    FirstZoom zoom;
    zoom.load();
    showTime = 500.0f;
    zoom.start();
    zoom.render();
    // Another value does not turn the page.
    syncCount.store(1);
    syncValue = 17;
    showTime = 510.0f;
    zoom.render();
    EXPECT_EQ(zoom.phase, 0);

    syncValue = 240;
    showTime = 600.5f;
    zoom.render();
    EXPECT_EQ(zoom.phase, 1);
    EXPECT_EQ(zoom.phaseStartTime, 600);
    EXPECT_EQ(zoom.pages.seen(), 1);

    showTime = 750.0f; // half way
    zoom.render();
    dump("first_zoom_cross_fade");
    EXPECT_EQ(frameChecksum(), 0x3bb5d0bf9b5e37c3ull) << std::hex << frameChecksum();

    showTime = 900.0f; // 300 hundredths on: the final picture alone
    zoom.render();
    EXPECT_TRUE(frameMatches([&](int x, int y) { return zoom.finalPicture.pixels()[y * 320 + x]; }, 3));
}

// A still picture smaller than the screen used to leave the previous frame around it.
TEST_F(ZoomWarpTest, FirstZoomSmallStillPictureReadsAsBlackAroundIt) {
    writeFigure(200, 100);
    FirstZoom zoom;
    zoom.load();
    fillSurface(0x00FFFFFFu);
    showTime = 10.0f;
    zoom.start();
    showTime = 30.0f;
    zoom.render();
    EXPECT_NE(pixelAt(100, 50), 0u); // the figure
    EXPECT_TRUE(frameMatches([&](int x, int y) { return x < 200 && y < 100 ? pixelAt(x, y) : 0u; }));
}

TEST_F(ZoomWarpTest, SecondZoomDrawsThePairOnBlackAndWrapsDepthsBeforeDrawing) {
    SecondZoom zoom;
    zoom.load();
    ASSERT_EQ(zoom.zoomer.count, 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(zoom.zoomer.pictures[i]->width, 512);
    fillSurface(0x00FFFFFFu);
    showTime = 300.0f;
    zoom.lastTime = 300;
    zoom.start();
    zoom.render();
    dump("second_zoom_first");
    EXPECT_EQ(frameChecksum(), 0xba9bf0e4a9d1567cull) << std::hex << frameChecksum();
    EXPECT_EQ(pixelAt(20, 120), 0xFF000080u); // the relief window's frame

    // A depth that went below 256 during a frame is wrapped at the start of the next, before
    // drawing; the advance comes after.
    zoom.depthA = 255.5f;
    showTime = 310.0f;
    zoom.render();
    EXPECT_EQ(zoom.zoomer.indexA, 2);
    EXPECT_EQ(zoom.zoomer.pixelsA, reinterpret_cast<const Pixel*>(zoom.zoomer.pictures[2]->image));
    EXPECT_EQ(zoom.depthA, 767.0f - 10.0f);
    EXPECT_EQ(zoom.lastTime, 310);
}

TEST_F(ZoomWarpTest, SecondZoomFadesOverTheTunnelAsThePatternPlays) {
    tunnel.load();
    tunnel.start();
    SecondZoom zoom;
    zoom.load();
    showTime = 50.0f;
    zoom.lastTime = 50;
    zoom.start();
    zoom.render();

    syncCount.store(1);
    syncValue = 240;
    musicRow = 0;
    showTime = 60.0f;
    zoom.render();
    EXPECT_EQ(zoom.phase, 1);
    EXPECT_EQ(tunnel.logoSlide.seen(), 1); // the tunnel underneath must not take the event
    EXPECT_EQ(tunnel.phase, 0);
    // At the pattern's first row the pictures cover the tunnel.
    EXPECT_TRUE(frameMatches([&](int x, int y) { return zoom.buffer[y * 320 + x]; }, 5));

    // Other sync values do not turn the page, and the tunnel's count is kept current.
    syncCount.store(2);
    syncValue = 33;
    musicRow = 40;
    showTime = 70.0f;
    zoom.render();
    EXPECT_EQ(zoom.phase, 1);
    EXPECT_EQ(tunnel.logoSlide.seen(), 2);
    EXPECT_EQ(tunnel.phase, 0);
    dump("second_zoom_over_tunnel");
    EXPECT_EQ(frameChecksum(), 0xae845d1225fc441full) << std::hex << frameChecksum();

    // After the second page only the relief window and the logo are drawn over the last frame.
    syncCount.store(3);
    syncValue = 240;
    zoom.render();
    EXPECT_EQ(zoom.phase, 2);
    fillSurface(0x00123456u);
    zoom.render();
    EXPECT_EQ(pixelAt(319, 199), 0x00123456u);
    EXPECT_EQ(pixelAt(160, 100), 0x00123456u);
    EXPECT_EQ(pixelAt(20, 120), 0xFF000080u);
}
