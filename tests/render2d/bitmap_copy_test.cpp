#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "imagelib/bgl_image.h"
#include "pixel_test_support.h"
#include "render2d/bitmap.h"
#include "render2d/pixel_ops.h"
#include "resources/bitmap_font.h"

namespace {

constexpr int kDstWidth = 40;
constexpr int kDstHeight = 30;

using Copy = std::function<void(const Bitmap&, Pixel*, int, int, int, int)>;
using Expect = std::function<Pixel(Pixel s, Pixel d)>;

// The copy of a bitmap placed at (x, y) must change exactly the destination pixels it covers,
// each as expect(source, destination) says.
void checkCopyEverywhere(const Copy& copy, const Expect& expect) {
    Canvas source(12, 9);
    fillRandom(source, 7);
    // A view with a pitch wider than its width: the columns beyond it must never be read.
    const Bitmap view(source.pixels.data() + 1, 10, 8, source.width);
    const int positions[] = {-13, -12, -11, -10, -3, -1, 0, 1, 5, 29, 30, 31, 35, 38, 39, 40, 41};
    for (int y : positions) {
        for (int x : positions) {
            Canvas dst(kDstWidth, kDstHeight);
            fillRandom(dst, static_cast<std::uint32_t>(1000 + x * 97 + y));
            const Canvas before = dst;
            copy(view, dst.pixels.data(), kDstWidth, kDstHeight, x, y);
            for (int dy = 0; dy < kDstHeight; ++dy) {
                for (int dx = 0; dx < kDstWidth; ++dx) {
                    const int bx = dx - x, by = dy - y;
                    const bool covered = bx >= 0 && bx < view.width && by >= 0 && by < view.height;
                    const Pixel want = covered ? expect(view.pixels[by * view.pitch + bx], before.at(dx, dy))
                                               : before.at(dx, dy);
                    ASSERT_EQ(dst.at(dx, dy), want)
                        << "bitmap at (" << x << ", " << y << "), pixel (" << dx << ", " << dy << ")";
                }
            }
        }
    }
}

// One channel per byte, written out plainly.
Pixel channels(Pixel s, Pixel d, int (*fn)(int s, int d, int k), int k) {
    Pixel out = d & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= static_cast<Pixel>(fn((s >> shift) & 0xFF, (d >> shift) & 0xFF, k)) << shift;
    return out;
}

} // namespace

TEST(BitmapCopy, EveryModeClipsAndCombinesEachCoveredPixel) {
    checkCopyEverywhere([](const Bitmap& b, Pixel* d, int w, int h, int x, int y) { b.draw(d, w, h, x, y); },
                        [](Pixel s, Pixel) { return s; });
    checkCopyEverywhere(
        [](const Bitmap& b, Pixel* d, int w, int h, int x, int y) { b.drawTransparent(d, w, h, x, y); },
        [](Pixel s, Pixel d) { return s != 0 ? s : d; });
    checkCopyEverywhere(
        [](const Bitmap& b, Pixel* d, int w, int h, int x, int y) { b.drawAdd(d, w, h, x, y); },
        [](Pixel s, Pixel d) {
            return channels(
                s, d, [](int s, int d, int) { return s + d > 255 ? 255 : s + d; }, 0);
        });
    checkCopyEverywhere(
        [](const Bitmap& b, Pixel* d, int w, int h, int x, int y) { b.drawSubtract(d, w, h, x, y); },
        [](Pixel s, Pixel d) {
            if ((s & 0xFF) == 0) return d;
            return channels(
                s, d, [](int s, int d, int) { return d - s < 0 ? 0 : d - s; }, 0);
        });
    // 0.5 * 255.99 = 127.995: k = 127.
    checkCopyEverywhere(
        [](const Bitmap& b, Pixel* d, int w, int h, int x, int y) { b.drawAddScaled(d, w, h, x, y, 0.5f); },
        [](Pixel s, Pixel d) {
            return channels(
                s, d, [](int s, int d, int k) { return std::min(d + ((k * s) >> 8), 255); }, 127);
        });
    checkCopyEverywhere(
        [](const Bitmap& b, Pixel* d, int w, int h, int x, int y) { b.drawBlend(d, w, h, x, y, 0.25f); },
        [](Pixel s, Pixel d) {
            return channels(
                s, d, [](int s, int d, int k) { return ((k * s) >> 8) + (((255 - k) * d) >> 8); }, 63);
        });
    checkCopyEverywhere(
        [](const Bitmap& b, Pixel* d, int w, int h, int x, int y) { b.drawFaded(d, w, h, x, y, 0.75f); },
        [](Pixel s, Pixel d) {
            return channels(
                s, d, [](int s, int, int k) { return (k * s) >> 8; }, 191);
        });
}

TEST(BitmapCopy, SpecialValuesOfTheModes) {
    // Only the whole word 0 is transparent.
    Pixel s = 0x01000000u;
    Pixel d = 0x7F102030u;
    Bitmap(&s, 1, 1).drawTransparent(&d, 1, 1, 0, 0);
    EXPECT_EQ(d, 0x01000000u);

    // A source whose blue byte is 0 leaves the destination alone, even with green and red set.
    s = 0x00FFFF00u;
    d = 0x00808080u;
    Bitmap(&s, 1, 1).drawSubtract(&d, 1, 1, 0, 0);
    EXPECT_EQ(d, 0x00808080u);

    // Level 1.0 and 0.999 are both k = 255: a plain saturating add.
    s = 0x00804020u;
    for (float level : {1.0f, 0.999f, 7.0f}) {
        d = 0xAB90A0B0u;
        Bitmap(&s, 1, 1).drawAddScaled(&d, 1, 1, 0, 0, level);
        EXPECT_EQ(d, 0xABFFE0D0u) << level;
    }
    // Alpha 0 is k = 0: the destination darkens by one step, it does not stay as it was.
    s = 0x00FFFFFFu;
    d = 0x00FF8001u;
    Bitmap(&s, 1, 1).drawBlend(&d, 1, 1, 0, 0, 0.0f);
    EXPECT_EQ(d, 0x00FE7F00u);
    // Full alpha and full level copy the whole word.
    s = 0x12345678u;
    d = 0;
    Bitmap(&s, 1, 1).drawBlend(&d, 1, 1, 0, 0, 1.5f);
    EXPECT_EQ(d, s);
    d = 0;
    Bitmap(&s, 1, 1).drawFaded(&d, 1, 1, 0, 0, 1.0f);
    EXPECT_EQ(d, s);
}

// A negative or NaN level used to reach the copies as a huge weight (a full-strength add, or
// negative products); now such a level draws nothing.
TEST(BitmapCopy, NegativeOrNanLevelsDrawNothing) {
    Pixel s = 0x00FFFFFFu;
    for (float level : {-0.01f, -1.0f, -1e30f, std::numeric_limits<float>::quiet_NaN()}) {
        Pixel d = 0x00102030u;
        Bitmap(&s, 1, 1).drawAddScaled(&d, 1, 1, 0, 0, level);
        Bitmap(&s, 1, 1).drawBlend(&d, 1, 1, 0, 0, level);
        Bitmap(&s, 1, 1).drawFaded(&d, 1, 1, 0, 0, level);
        EXPECT_EQ(d, 0x00102030u) << level;
    }
}

TEST(BitmapCopy, EmptyBitmapsAndDestinationsDrawNothing) {
    Canvas dst(4, 4, 0x55u);
    Bitmap().draw(dst.pixels.data(), 4, 4, 0, 0);
    Pixel s = 1;
    Bitmap(&s, 1, 1).draw(nullptr, 4, 4, 0, 0);
    Bitmap(&s, 0, 1).drawAdd(dst.pixels.data(), 4, 4, 0, 0);
    Bitmap(&s, 1, 1).drawAdd(dst.pixels.data(), 0, 4, 0, 0);
    Bitmap(&s, 1, 1).draw(dst.pixels.data(), 4, 4, std::numeric_limits<int>::min(), 0);
    Bitmap(&s, 1, 1).draw(dst.pixels.data(), 4, 4, 0, std::numeric_limits<int>::max());
    for (Pixel p : dst.pixels) EXPECT_EQ(p, 0x55u);
}

TEST(BitmapCopy, ViewsOnlyThirtyTwoBitPictures) {
    bglimage* picture = bgl_create_image(3, 2, 32, 0);
    ASSERT_NE(picture, nullptr);
    const Bitmap view(picture);
    EXPECT_EQ(view.pixels, reinterpret_cast<Pixel*>(picture->image));
    EXPECT_EQ(view.width, 3);
    EXPECT_EQ(view.height, 2);
    EXPECT_EQ(view.pitch, 3);
    bgl_free_image(picture);

    bglimage* palette = bgl_create_image(3, 2, 8, 256);
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(Bitmap(palette).empty());
    EXPECT_TRUE(Bitmap(static_cast<const bglimage*>(nullptr)).empty());
    bgl_free_image(palette);

    // Text without glyphs makes a picture of height 0: a view of it draws nothing.
    const BitmapFont noGlyphs;
    bglimage* text = noGlyphs.makeTextImage("ab");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(Bitmap(text).empty());
    Pixel d = 0x55u;
    Bitmap(text).drawTransparent(&d, 1, 1, 0, 0);
    EXPECT_EQ(d, 0x55u);
    bgl_free_image(text);
}
