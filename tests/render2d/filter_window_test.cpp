#include <gtest/gtest.h>

#include <algorithm>

#include "pixel_test_support.h"
#include "render2d/filter_window.h"

namespace {

// The relief kernel written out: the 3x3 block ending at (x, y), reads beyond the buffer taken
// from the nearest edge pixel.
Pixel embossReference(const Canvas& buffer, int x, int y) {
    static const int kernel[3][3] = {{-1, -1, -1}, {-1, 1, 1}, {1, 1, 1}};
    int sum[3] = {0, 0, 0};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            const int sx = std::clamp(x - 2 + c, 0, buffer.width - 1);
            const int sy = std::clamp(y - 2 + r, 0, buffer.height - 1);
            const Pixel p = buffer.at(sx, sy);
            for (int ch = 0; ch < 3; ++ch) sum[ch] += kernel[r][c] * static_cast<int>((p >> (8 * ch)) & 0xFF);
        }
    }
    Pixel out = 0;
    for (int ch = 0; ch < 3; ++ch) out |= static_cast<Pixel>(std::clamp(sum[ch], 0, 255)) << (8 * ch);
    return out;
}

} // namespace

// The sweep slides its window from 50 columns left of the screen to past its right edge, and
// the kernel reaches two rows above and two columns left of the window: no read may leave the
// buffer (the sanitizer build checks), and only the on-screen part is written. The four-pixel
// filter and the plain one give the same pixels.
TEST(FilterWindow, EmbossesInPlaceWithWindowsOverhangingEveryEdge) {
    Canvas original(30, 20);
    fillRandom(original, 11);
    struct Place {
        int x, y, w, h;
    };
    const Place places[] = {{5, 4, 8, 6},   {-50, 0, 50, 20}, {-3, -2, 10, 25}, {25, 15, 10, 10},
                            {28, 0, 5, 20}, {30, 0, 50, 20},  {0, 0, 30, 20},   {10, 18, 4, 4}};
    for (const Place& place : places) {
        for (bool plain : {false, true}) {
            Canvas buffer = original;
            FilterWindow window(buffer.bitmap(), place.x, place.y, place.w, place.h);
            if (plain)
                window.embossToPlain(buffer.pixels.data(), buffer.width, buffer.height, place.x, place.y);
            else
                window.embossTo(buffer.pixels.data(), buffer.width, buffer.height, place.x, place.y);
            for (int y = 0; y < buffer.height; ++y) {
                for (int x = 0; x < buffer.width; ++x) {
                    const bool inside =
                        x >= place.x && x < place.x + place.w && y >= place.y && y < place.y + place.h;
                    const Pixel want = inside ? embossReference(original, x, y) : original.at(x, y);
                    ASSERT_EQ(buffer.at(x, y), want) << (plain ? "plain " : "") << "window at " << place.x
                                                     << ", " << place.y << "; pixel " << x << ", " << y;
                }
            }
        }
    }
}

TEST(FilterWindow, FlatAreasKeepTheirColour) {
    Canvas buffer(12, 12, 0x00406080u);
    FilterWindow window(buffer.bitmap(), 0, 0, 12, 12);
    window.embossTo(buffer.pixels.data(), 12, 12, 0, 0);
    for (Pixel p : buffer.pixels) EXPECT_EQ(p, 0x00406080u);
}

TEST(FilterWindow, FrameOutlinesTheWindowAndClipsToTheScreen) {
    Canvas screen(320, 200);
    FilterWindow relief(screen.bitmap(), 20, 120, 80, 60);
    relief.drawFrame(screen.pixels.data(), 320, 200, 20, 120, 0, 0, 128);
    const Pixel blue = 0xFF000080u;
    EXPECT_EQ(screen.at(20, 120), blue);
    EXPECT_EQ(screen.at(99, 120), blue);
    EXPECT_EQ(screen.at(20, 179), blue);
    EXPECT_EQ(screen.at(99, 179), blue);
    EXPECT_EQ(screen.at(60, 179), blue);
    EXPECT_EQ(screen.at(21, 121), 0u);
    EXPECT_EQ(screen.at(100, 120), 0u);
    EXPECT_EQ(std::count(screen.pixels.begin(), screen.pixels.end(), blue), 2 * 80 + 2 * 58);

    Canvas corner(320, 200);
    FilterWindow band(corner.bitmap(), -5, 190, 20, 20);
    band.drawFrame(corner.pixels.data(), 320, 200, -5, 190, 16, 32, 0);
    const Pixel olive = 0xFF102000u;
    EXPECT_EQ(corner.at(0, 190), olive);  // top side, its first five pixels off screen
    EXPECT_EQ(corner.at(14, 199), olive); // right side down to the screen's last row
    EXPECT_EQ(std::count(corner.pixels.begin(), corner.pixels.end(), olive), 15 + 9);
}
