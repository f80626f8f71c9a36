#pragma once
// The shared show objects the grid effects draw with, made by the test itself: a back surface,
// a small font of patterned glyphs, synthetic pictures, the show clock and sync state.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/screen.h"
#include "effects/show_state.h"
#include "effects/support/picture_prep.h"
#include "imagelib/bgl_image.h"
#include "platform/format.h"
#include "platform/surface.h"
#include "render2d/pixel.h"
#include "resources/bitmap_font.h"

namespace grid_effect_test {

// A 32-bit picture in framebuffer order whose pixel (x, y) is shade(x, y).
inline OwnedPicture makePicture(int width, int height, const std::function<Pixel(int, int)>& shade) {
    OwnedPicture picture(
        bgl_create_image(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 32, 0));
    auto* pixels = reinterpret_cast<Pixel*>(picture->image);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[y * width + x] = shade(x, y);
    return picture;
}

inline OwnedPicture gridTexture() {
    return makePicture(256, 256, [](int x, int y) { return makePixel((x * 2) & 255, y, (x ^ y) | 1); });
}

// Every upper-case letter, digit and "[]-" gets a 6x8 glyph of grey stripes (blue bytes not 0,
// so subtracted text shows); the space has none and only advances.
inline std::unique_ptr<BitmapFont> patternFont() {
    std::vector<std::uint8_t> bytes(BitmapFont::kHeaderBytes, 0);
    const std::string characters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789[]-";
    for (char c : characters) {
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 6, 8});
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 6; ++x)
                bytes.push_back(
                    static_cast<std::uint8_t>((x + y + c) % 3 == 0 ? 0 : 90 + 20 * ((x * y + c) % 8)));
    }
    auto result = std::make_unique<BitmapFont>();
    result->loadFromBytes(bytes.data(), bytes.size());
    return result;
}

inline std::uint64_t checksum(const std::vector<Pixel>& pixels) {
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (Pixel p : pixels) {
        for (int b = 0; b < 4; ++b) {
            hash ^= (p >> (8 * b)) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

class GridEffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        testFont = patternFont();
        font = testFont.get();
        backSurface = new Surface(kScreenWidth, kScreenHeight, Format());
        resetShowTime();
        syncCount = 0;
        syncValue = 0;
        musicPosition = 0;
        musicRow = 0;
    }
    void TearDown() override {
        delete backSurface;
        backSurface = nullptr;
        font = nullptr;
    }

    void setTime(float hundredths) {
        resetShowTime();
        advanceShowTime(hundredths);
    }
    void sync(int value) {
        syncValue = value;
        syncCount = syncCount + 1;
    }
    std::vector<Pixel> screen() const {
        const Pixel* pixels = backSurface->pixels();
        return std::vector<Pixel>(pixels, pixels + kScreenWidth * kScreenHeight);
    }
    Pixel pixel(int x, int y) const { return backSurface->pixels()[y * kScreenWidth + x]; }

    std::unique_ptr<BitmapFont> testFont;
};

} // namespace grid_effect_test
