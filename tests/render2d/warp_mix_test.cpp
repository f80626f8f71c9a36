#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "picture_test_support.h"
#include "pixel_test_support.h"
#include "render2d/warp_mix.h"

namespace {

std::vector<int> wavyEdges(int centre, int seed) {
    std::vector<int> edges(200);
    for (int r = 0; r < 200; ++r)
        edges[r] = centre + static_cast<int>(20 * std::sin(0.05 * r + seed) + 10 * std::sin(0.1 * r));
    return edges;
}

} // namespace

TEST(EdgeMask, RampFallsByEightOverThirtyTwoColumnsAndNeverReachesTheLastColumn) {
    EXPECT_EQ(edgeMaskAt(99, 100), 255);
    EXPECT_EQ(edgeMaskAt(100, 100), 255);
    EXPECT_EQ(edgeMaskAt(101, 100), 247);
    EXPECT_EQ(edgeMaskAt(131, 100), 7);
    EXPECT_EQ(edgeMaskAt(132, 100), 0);
    EXPECT_EQ(edgeMaskAt(319, 100), 0);
    // Near the right border the ramp stops at column 318; column 319 is 0.
    EXPECT_EQ(edgeMaskAt(318, 300), 255 - 8 * 18);
    EXPECT_EQ(edgeMaskAt(319, 300), 0);
    EXPECT_EQ(edgeMaskAt(318, 319), 255);
    EXPECT_EQ(edgeMaskAt(319, 319), 0);
    for (int c : {0, 200, 319}) EXPECT_EQ(edgeMaskAt(c, 320), 255);
    // An edge left of the screen starts the ramp part-way.
    EXPECT_EQ(edgeMaskAt(0, -10), 175);
    EXPECT_EQ(edgeMaskAt(21, -10), 7);
    EXPECT_EQ(edgeMaskAt(22, -10), 0);
    EXPECT_EQ(edgeMaskAt(0, -31), 7);
    EXPECT_EQ(edgeMaskAt(0, -32), 0);
    EXPECT_EQ(edgeMaskAt(0, INT_MIN), 0);
    EXPECT_EQ(edgeMaskAt(319, INT_MAX), 255);

    // The spans that the effects walk give the same mask as the plain definition.
    std::vector<int> edges;
    for (int e = -400; e <= 400; ++e) edges.push_back(e);
    for (int e : {INT_MIN, INT_MIN + 1, INT_MAX - 1, INT_MAX}) edges.push_back(e);
    for (int e : edges) {
        const EdgeSpans spans = edgeSpans(e);
        ASSERT_LE(spans.fullEnd, spans.rampEnd) << e;
        for (int c = 0; c < 320; ++c) {
            const int expected = edgeMaskAt(c, e);
            const int bySpan = c < spans.fullEnd ? 255 : (c < spans.rampEnd ? expected : 0);
            ASSERT_EQ(bySpan, expected) << "edge " << e << " column " << c;
            if (c >= spans.fullEnd && c < spans.rampEnd) {
                ASSERT_TRUE(expected > 0 && expected < 255); // a ramp column always mixes
            }
        }
    }
}

TEST(EdgeMask, MixWeighsEachChannelAndTheEndsTakeOneLayerUnmixed) {
    std::mt19937 random(11);
    for (int i = 0; i < 20000; ++i) {
        const Pixel a = random(), b = random();
        const int v = static_cast<int>(random() % 256);
        const Pixel mixed = mixPixels(a, b, v);
        ASSERT_EQ(blueOf(mixed), (blueOf(a) * v + blueOf(b) * (255 - v)) >> 8);
        ASSERT_EQ(greenOf(mixed), (greenOf(a) * v + greenOf(b) * (255 - v)) >> 8);
        ASSERT_EQ(redOf(mixed), (redOf(a) * v + redOf(b) * (255 - v)) >> 8);
        ASSERT_EQ(mixed >> 24, 0u);
    }

    // Through the pass: mask 255 is the still picture's word, mask 0 the warped picture's word.
    Picture picture = randomPicture(640, 400, 2);
    RingWarp warp(picture.get());
    warp.setOffsets(warpOffsetsAt(500.0f));
    Canvas still(320, 200);
    fillRandom(still, 9);
    const std::vector<int> edges(200, 100);
    Canvas frame(320, 200);
    warpOverStill(frame.pixels.data(), edges.data(), warp, still.pixels.data());
    for (int y = 0; y < 200; y += 13) {
        EXPECT_EQ(frame.at(100, y), still.at(100, y));
        EXPECT_EQ(frame.at(132, y), warp.warpedPixel(132, y));
        EXPECT_EQ(frame.at(116, y), mixPixels(still.at(116, y), warp.warpedPixel(116, y), 255 - 8 * 16));
    }
}

// The span walk the effects run must give exactly the frame of the plain mask-then-pick pass.
TEST(WarpMix, SpanPassesMatchThePlainPasses) {
    Picture orion = randomPicture(640, 400, 21);
    Picture other = randomPicture(640, 400, 22);
    Picture shortPicture = randomPicture(640, 300, 23); // reaches past its end: held inside
    Canvas still(320, 200);
    fillRandom(still, 24);

    struct Case {
        const bglimage* zero;
        const bglimage* full;
    };
    for (const Case& c : {Case{orion.get(), other.get()}, Case{shortPicture.get(), orion.get()},
                          Case{orion.get(), shortPicture.get()}}) {
        RingWarp zero(c.zero), full(c.full);
        for (float t : {0.0f, 250.0f, 1234.5f, 40000.0f}) {
            zero.setOffsets(warpOffsetsAt(t));
            full.setOffsets(warpOffsetsAt(t));
            for (int centre : {-60, -20, 5, 160, 300, 318, 330}) {
                const std::vector<int> edges = wavyEdges(centre, static_cast<int>(t) % 7);

                Canvas plain(320, 200), fast(320, 200);
                fillRandom(fast, 1);
                writeEdgeMask(plain.pixels.data(), edges.data());
                warpOverStillPlain(plain.pixels.data(), zero, still.pixels.data());
                warpOverStill(fast.pixels.data(), edges.data(), zero, still.pixels.data());
                ASSERT_EQ(plain.pixels, fast.pixels) << "still, t " << t << " edge " << centre;

                writeEdgeMask(plain.pixels.data(), edges.data());
                warpOverWarpPlain(plain.pixels.data(), zero, full);
                warpOverWarp(fast.pixels.data(), edges.data(), zero, full);
                ASSERT_EQ(plain.pixels, fast.pixels) << "warp, t " << t << " edge " << centre;
            }
        }
    }
}
