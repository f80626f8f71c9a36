#include <gtest/gtest.h>

#include <algorithm>

#include <limits>
#include <random>
#include <vector>

#include "pixel_test_support.h"
#include "render2d/bitmap.h"

namespace {
constexpr Pixel kUntouched = 0xDEADBEEFu;
}

TEST(DrawStretched, HalfSizeCardFillsExactlyItsRectangle) {
    Canvas card(320, 200);
    for (int i = 0; i < 320 * 200; ++i) card.pixels[i] = static_cast<Pixel>(i);
    Canvas screen(320, 200, kUntouched);
    card.bitmap().drawStretched(screen.pixels.data(), 320, 200, 80.0f, 50.0f, 240.0f, 150.0f);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 320; ++x) {
            const bool inside = x >= 80 && x < 240 && y >= 50 && y < 150;
            ASSERT_EQ(screen.at(x, y) != kUntouched, inside) << x << ", " << y;
        }
    }
    // Steps of (316 << 16) / 160 and (196 << 16) / 100: the last four columns and rows are never
    // sampled.
    EXPECT_EQ(screen.at(80, 50), card.at(0, 0));
    EXPECT_EQ(screen.at(81, 50), card.at(1, 0));
    EXPECT_EQ(screen.at(239, 149), card.at(314, 194));
}

TEST(DrawStretched, RectanglesPartlyOffScreenStartPartWayIn) {
    Canvas source(104, 104);
    for (int y = 0; y < 104; ++y)
        for (int x = 0; x < 104; ++x) source.at(x, y) = static_cast<Pixel>(y << 8 | x);
    Canvas screen(50, 50, kUntouched);
    // 100 source pixels onto 100 screen pixels, 30 of them above and left of the screen.
    source.bitmap().drawStretched(screen.pixels.data(), 50, 50, -30.0f, -30.0f, 70.0f, 70.0f);
    EXPECT_EQ(screen.at(0, 0), source.at(30, 30));
    EXPECT_EQ(screen.at(49, 49), source.at(79, 79));
}

TEST(DrawStretched, RowsAreSteppedByThePitch) {
    Canvas backing(10, 6);
    for (int i = 0; i < 60; ++i) backing.pixels[i] = static_cast<Pixel>(i + 1);
    const Bitmap view(backing.pixels.data(), 6, 6, 10);
    Canvas screen(2, 2);
    view.drawStretched(screen.pixels.data(), 2, 2, 0.0f, 0.0f, 2.0f, 2.0f);
    EXPECT_EQ(screen.at(0, 1), backing.at(0, 1));
    EXPECT_EQ(screen.at(1, 1), backing.at(1, 1));
}

// Sources under five pixels gave negative steps, and fractional or non-finite rectangles could
// step past the source's last row: none of them may read outside the source or draw garbage.
TEST(DrawStretched, DegenerateSourcesAndRectanglesStayInside) {
    Canvas screen(32, 24, kUntouched);
    std::vector<Pixel> tiny(4 * 4, 1);
    Bitmap(tiny.data(), 4, 4).drawStretched(screen.pixels.data(), 32, 24, 0.0f, 0.0f, 32.0f, 24.0f);
    Bitmap(tiny.data(), 16, 1).drawStretched(screen.pixels.data(), 32, 24, 0.0f, 0.0f, 32.0f, 24.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<Pixel> five(5 * 5, 2);
    const Bitmap small(five.data(), 5, 5);
    small.drawStretched(screen.pixels.data(), 32, 24, nan, 0.0f, 10.0f, 10.0f);
    small.drawStretched(screen.pixels.data(), 32, 24, -inf, 0.0f, inf, 10.0f);
    small.drawStretched(screen.pixels.data(), 32, 24, 0.0f, 0.0f, 0.5f, 10.0f);
    for (Pixel p : screen.pixels) ASSERT_EQ(p, kUntouched);

    // Random small fractional rectangles from an exactly-sized source: the row after the last one
    // a rectangle covers can step well past the source (the sanitizer build catches any read past
    // it); every written pixel is a source pixel.
    Canvas source(40, 30);
    for (int i = 0; i < 40 * 30; ++i) source.pixels[i] = static_cast<Pixel>(100 + i);
    std::mt19937 random(3);
    std::uniform_real_distribution<float> corner(-3.0f, 34.0f), extent(0.9f, 3.0f);
    for (int trial = 0; trial < 3000; ++trial) {
        const float x0 = corner(random), y0 = corner(random);
        const float x1 = x0 + extent(random), y1 = y0 + extent(random);
        Canvas dst(32, 24, kUntouched);
        source.bitmap().drawStretched(dst.pixels.data(), 32, 24, x0, y0, x1, y1);
        for (Pixel p : dst.pixels) ASSERT_TRUE(p == kUntouched || (p >= 100 && p < 100 + 40 * 30));
    }
}

TEST(ScaleInPlace, ScalesChannelsTruncatedAndClearsTheFourthByte) {
    Canvas backing(3, 2, 0xAAFF6401u); // red 255, green 100, blue 1
    backing.at(2, 0) = backing.at(2, 1) = 0x77777777u;
    const Bitmap view(backing.pixels.data(), 2, 2, 3);
    view.scaleInPlace(0.8f);
    EXPECT_EQ(backing.at(0, 0), 0x00CC5000u); // 204, 80, 0
    EXPECT_EQ(backing.at(1, 1), 0x00CC5000u);
    EXPECT_EQ(backing.at(2, 1), 0x77777777u); // outside the view

    // Every channel value of a view wider than the four-pixel steps, for factors below 1, at 1,
    // above it and past the 256 it is held to: trunc(value x factor) held at 255, fourth byte 0.
    for (float factor : {0.0f, 0.3f, 0.8f, 1.0f, 1.7f, 300.0f}) {
        Canvas wide(71, 4);
        for (int i = 0; i < 71 * 4; ++i)
            wide.pixels[i] = 0x9E000000u | uint32_t(i % 256 * 0x010101u ^ 0x00A5C3u);
        const Canvas before = wide;
        Bitmap(wide.pixels.data(), 70, 4, 71).scaleInPlace(factor);
        for (int i = 0; i < 71 * 4; ++i) {
            Pixel want = before.pixels[i];
            if (i % 71 != 70) {
                want = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const float value =
                        static_cast<float>((before.pixels[i] >> shift) & 0xFF) * std::min(factor, 256.0f);
                    want |= static_cast<Pixel>(value >= 255.0f ? 255 : static_cast<int>(value)) << shift;
                }
            }
            ASSERT_EQ(wide.pixels[i], want) << factor << " pixel " << i;
        }
    }

    Pixel p = 0x00C86401u;
    Bitmap(&p, 1, 1).scaleInPlace(2.0f); // saturates instead of wrapping
    EXPECT_EQ(p, 0x00FFC802u);
    for (float factor : {-0.5f, std::numeric_limits<float>::quiet_NaN()}) {
        p = 0x12345678u;
        Bitmap(&p, 1, 1).scaleInPlace(factor);
        EXPECT_EQ(p, 0x12345678u);
    }
}
