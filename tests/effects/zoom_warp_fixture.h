#pragma once
// The pictures of the zoom and warp effects, made by the tests themselves, on top of the shared
// picture-effect fixture: a still figure on black, zooming pictures of the right and of wrong
// sizes, and two large pictures to ripple.
#include <cmath>
#include <cstdint>
#include <vector>

#include "picture_effect_fixture.h"

namespace effect_test {

class ZoomWarpTest : public PictureEffectTest {
protected:
    void SetUp() override {
        PictureEffectTest::SetUp();
        writeZoomWarpContent();
    }

    void writeZoomWarpContent() {
        writeFigure(320, 200);
        // Bright rings, a picture of the wrong size (the zoom brings it to 512x512) and a checker.
        writeJpeg("data/zoom01t.jpg", 512, 512, [](int x, int y, std::uint8_t rgb[3]) {
            const int r = static_cast<int>(std::hypot(x - 256, y - 256));
            rgb[0] = rgb[1] = rgb[2] = static_cast<std::uint8_t>(r % 64 < 20 ? 250 : 10);
        });
        writeJpeg("data/zoom2t.jpg", 300, 200, [](int x, int y, std::uint8_t rgb[3]) {
            rgb[0] = static_cast<std::uint8_t>(x * 255 / 299);
            rgb[1] = static_cast<std::uint8_t>(y * 255 / 199);
            rgb[2] = 128;
        });
        writeJpeg("data/zoom3x.jpg", 512, 512, [](int x, int y, std::uint8_t rgb[3]) {
            rgb[0] = rgb[1] = rgb[2] = static_cast<std::uint8_t>(((x / 64 + y / 64) % 2) * 200 + 20);
        });
        const char* secondZoomNames[] = {"hubsu2.jpg", "galak2k.jpg", "pleisu2.jpg", "spirsu2.jpg"};
        for (int i = 0; i < 4; ++i) {
            writeJpeg(std::string("data/") + secondZoomNames[i], 128 + 64 * i, 128,
                      [i](int x, int y, std::uint8_t rgb[3]) {
                          const int d = (x - 64) * (x - 64) + (y - 64) * (y - 64);
                          rgb[0] = static_cast<std::uint8_t>(d < 40 * 40 ? 240 - 50 * i : 0);
                          rgb[1] = static_cast<std::uint8_t>((x * y + 60 * i) & 0x7F);
                          rgb[2] = static_cast<std::uint8_t>(50 * i + 40);
                      });
        }
        writeJpeg("data/orion2.jpg", 640, 400, [](int x, int y, std::uint8_t rgb[3]) {
            rgb[0] = static_cast<std::uint8_t>(((x / 16) % 2) * 200 + 30);
            rgb[1] = static_cast<std::uint8_t>(y * 255 / 399);
            rgb[2] = 60;
        });
        writeJpeg("data/orion5.jpg", 640, 400, [](int x, int y, std::uint8_t rgb[3]) {
            rgb[0] = 20;
            rgb[1] = static_cast<std::uint8_t>(((y / 16) % 2) * 180 + 40);
            rgb[2] = static_cast<std::uint8_t>(x * 255 / 639);
        });
    }

    // "corpse.pcx": a bright figure (an ellipse) on pure black.
    void writeFigure(int width, int height) {
        std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3, 0);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int dx = x - width / 2, dy = y - height / 2;
                if (dx * dx * 4 + dy * dy > 80 * 80) continue;
                std::uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
                p[0] = 200;
                p[1] = static_cast<std::uint8_t>(100 + dy);
                p[2] = 180;
            }
        }
        writeBytes("data/corpse.pcx", forge::encodePcx24(width, height, rgb.data()));
    }

    // Pixels outside the logo at (230, 10) and the relief window at (20, 120).
    static bool outsideOverlays(int x, int y) {
        const bool inLogo = x >= 230 && x < 290 && y >= 10 && y < 30;
        const bool inRelief = x >= 20 && x < 100 && y >= 120 && y < 180;
        return !inLogo && !inRelief;
    }

    // Every stride-th pixel of the frame left of column `columns`, outside the logo and the relief
    // window, against expected(x, y).
    template <class Expected>
    ::testing::AssertionResult frameMatches(Expected expected, int stride = 1, int columns = 320) const {
        for (int y = 0; y < 200; y += stride) {
            for (int x = 0; x < columns; x += stride) {
                if (!outsideOverlays(x, y)) continue;
                const std::uint32_t want = expected(x, y);
                if (pixelAt(x, y) != want)
                    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                         << pixelAt(x, y) << ", expected " << want;
            }
        }
        return ::testing::AssertionSuccess();
    }
};

} // namespace effect_test
