#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "grid_test_support.h"
#include "render2d/grid_blocks_wide.h"
#include "render2d/grid_fixed.h"
#include "render2d/lit_grid.h"

namespace {

constexpr std::int32_t kFullLight = 65536; // lit byte = texel byte
constexpr std::int32_t kSaturatedLight = 65280;

void fillCorners(LitGrid& grid, const GridCorner& value) {
    for (GridCorner& c : grid.corners) c = value;
}

// Corner (i, j) addresses texel (8i, 8j), so pixel (x, y) reads texel (x mod 256, y mod 256).
void mapPixelsToTexels(LitGrid& grid, std::int32_t light) {
    for (int j = 0; j < kGridRows; ++j)
        for (int i = 0; i < kGridColumns; ++i)
            grid.corners[j * kGridColumns + i] = {i * kGridBlockSize << kFracBits,
                                                  j * kGridBlockSize << kFracBits, light, light, light};
}

} // namespace

TEST(LitGrid, AddsAtMostFiveLightsAndASixthChangesNothing) {
    LitGrid grid(nullptr);
    for (int i = 1; i <= kMaxGridLights; ++i) EXPECT_EQ(grid.addLight(float(i), 0, 0, 1, 1, 1, 1), i);
    EXPECT_EQ(grid.addLight(99, 99, 99, 0, 0, 0, 0), 0);
    EXPECT_EQ(grid.lightCount, kMaxGridLights);
    for (int i = 0; i < kMaxGridLights; ++i) EXPECT_EQ(grid.lights[i]->x, float(i + 1));
}

TEST(LitGridBlocks, EveryPixelReadsItsInterpolatedTexelWrappingEvery256) {
    Picture texture = coordinateTexture();
    LitGrid grid(texture.get());
    mapPixelsToTexels(grid, kFullLight);
    std::vector<Pixel> screen(kScreenPixels, 0x5A000000u);
    grid.drawLit(screen.data());
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x)
            ASSERT_EQ(screen[y * kScreenWidth + x], 0x5A000000u | makePixel(0, y & 255, x & 255))
                << "pixel " << x << ", " << y;
}

TEST(LitGridBlocks, TextureCoordinatesInterpolateAcrossTheInt32Wrap) {
    // Two neighbouring corners on either side of 2^31: the step is the wrapped difference, so
    // the block still walks 8 texels forward instead of jumping half the range back.
    Picture texture = coordinateTexture();
    LitGrid grid(texture.get());
    fillCorners(grid, {0, 0, kFullLight, kFullLight, kFullLight});
    const std::int32_t beforeWrap = toWrappedFixed(2147483648.0 - 4.0 * 65536.0); // column 252
    const std::int32_t afterWrap = toWrappedFixed(2147483648.0 + 4.0 * 65536.0);  // column 4
    for (int j = 0; j < kGridRows; ++j) {
        grid.corners[j * kGridColumns + 0].along = beforeWrap;
        grid.corners[j * kGridColumns + 1].along = afterWrap;
    }
    std::vector<Pixel> screen(kScreenPixels, 0);
    grid.drawLit(screen.data());
    for (int x = 0; x < kGridBlockSize; ++x) EXPECT_EQ(blueOf(screen[x]), (252 + x) & 255) << x;
}

TEST(LitGridBlocks, SaturatedLightGives254FromAFullTexelAndDimLightNeverWrapsBright) {
    Picture white = uniformTexture(0x00FFFFFFu);
    LitGrid grid(white.get());
    fillCorners(grid, {0, 0, kSaturatedLight, kSaturatedLight, kSaturatedLight});
    std::vector<Pixel> screen(kScreenPixels, 0);
    grid.drawLit(screen.data());
    EXPECT_EQ(screen[12345], makePixel(254, 254, 254));

    // One lit corner among dark ones: stepping down by arithmetic shifts overshoots 0 by a few
    // units, which must read as black, not as a wrapped 255.
    fillCorners(grid, {0, 0, 0, 0, 0});
    grid.corners[0] = {0, 0, 65, 65, 65};
    grid.drawLit(screen.data());
    for (int i = 0; i < kScreenPixels; ++i) ASSERT_EQ(screen[i], 0u) << i;
}

TEST(LitGridBlocks, AddedAndMaskedWritesMixPerChannelAndKeepTheFourthByte) {
    Picture texture = uniformTexture(makePixel(200, 100, 40));
    LitGrid grid(texture.get());
    fillCorners(grid, {0, 0, kFullLight, kFullLight, kFullLight});

    std::vector<Pixel> screen(kScreenPixels, 0x7F000000u | makePixel(100, 10, 250));
    grid.drawLitAdd(screen.data());
    EXPECT_EQ(screen[999], 0x7F000000u | makePixel(255, 110, 255));

    // Mask in the blue byte: 255 shows the lit texture, 0 the background, 128 a mix.
    const Pixel background = makePixel(0, 50, 240);
    std::vector<Pixel> back(kScreenPixels, 0x11000000u | background);
    screen.assign(kScreenPixels, 0x22000000u);
    screen[0] |= 255;
    screen[1] |= 128;
    grid.drawLitMasked(screen.data(), back.data());
    EXPECT_EQ(screen[0], 0x22000000u | makePixel(200, 100, 40));
    EXPECT_EQ(screen[1], 0x22000000u | makePixel((128 * 200 + 127 * 0) >> 8, (128 * 100 + 127 * 50) >> 8,
                                                 (128 * 40 + 127 * 240) >> 8));
    EXPECT_EQ(screen[2], 0x22000000u | background);
}

TEST(LitGridBlocks, APictureTooSmallForTheTextureDrawsBlackInsteadOfReadingPastIt) {
    Picture small = makePicture(16, 16, [](int, int) { return 0x00FFFFFFu; });
    for (bglimage* picture : {small.get(), static_cast<bglimage*>(nullptr)}) {
        LitGrid grid(picture);
        fillCorners(grid, {255 << kFracBits, 255 << kFracBits, kFullLight, kFullLight, kFullLight});
        std::vector<Pixel> screen(kScreenPixels, 0x00123456u);
        grid.drawLit(screen.data());
        EXPECT_EQ(screen[kScreenPixels - 1], 0u);
    }
}

TEST(GridFixed, WrapsTruncatedValuesToTheirLow32BitsAndMapsNonFiniteToZero) {
    EXPECT_EQ(toWrappedFixed(8388608.7), 8388608);
    EXPECT_EQ(toWrappedFixed(-1.9), -1);
    EXPECT_EQ(toWrappedFixed(2147483648.0), INT32_MIN);
    EXPECT_EQ(toWrappedFixed(4294967296.0 + 5.0), 5);
    EXPECT_EQ(toWrappedFixed(-4294967296.0 * 3 - 7.0), -7);
    EXPECT_EQ(toWrappedFixed(1e30) & 0xFFFF, 0); // huge values keep well-defined low bits
    // Either side of 2^63, where the direct conversion hands over to the division.
    EXPECT_EQ(toWrappedFixed(9223372036854774784.0), -1024);
    EXPECT_EQ(toWrappedFixed(-9223372036854774784.0), 1024);
    EXPECT_EQ(toWrappedFixed(9223372036854775808.0), 0);
    EXPECT_EQ(toWrappedFixed(9223372036854777856.0), 2048);
    EXPECT_EQ(toWrappedFixed(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(toWrappedFixed(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(toLightFactor(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(toLightFactor(65280.9f), 65280);
}

// The wide walk must give the plain walk's frame bit for bit for each write: corners with random
// positions and light factors over the whole short range (where it steps in 16-bit products),
// dark blocks whose factors step below 0, some blocks with factors far beyond the range or
// negative (which it hands to the plain walk, whose products used to overflow on them), and masks
// with the special values 0 and 255.
TEST(LitGridBlocks, TheWideWalkMatchesThePlainWalk) {
    std::mt19937 random(11);
    std::vector<Pixel> texture(kTextureTexels), background(kScreenPixels), start(kScreenPixels);
    for (Pixel& p : texture) p = random();
    for (Pixel& p : background) p = random();
    for (Pixel& p : start) {
        p = random();
        if (random() % 4 == 0)
            p |= 0xFFu; // mask 255
        else if (random() % 4 == 0)
            p &= ~0xFFu; // mask 0
    }
    for (int trial = 0; trial < 5; ++trial) {
        GridCorners corners{};
        for (GridCorner& c : corners) {
            c.along = static_cast<std::int32_t>(random());
            c.around = static_cast<std::int32_t>(random());
            // trial 0: just past the short range; trial 4: dark, around the undershoot
            const std::int32_t top = trial == 0 ? 0x10000 : trial == 4 ? 40 : 0xFFFF;
            const auto factor = [&] {
                if (trial == 3 && random() % 16 == 0)
                    return static_cast<std::int32_t>(random()) >> (random() % 24);
                return static_cast<std::int32_t>(random() % (top + 1));
            };
            c.lightRed = factor();
            c.lightGreen = factor();
            c.lightBlue = factor();
        }
        const auto compare = [&](auto plainWrite, auto wideWrite, const char* name) {
            std::vector<Pixel> plain = start, wide = start;
            walkGridBlocks(corners, texture.data(), plain.data(), plainWrite);
            walkGridBlocksWide(corners, texture.data(), wide.data(), plainWrite, wideWrite);
            for (int i = 0; i < kScreenPixels; ++i)
                ASSERT_EQ(wide[i], plain[i]) << name << " trial " << trial << " pixel " << i;
        };
        compare(LitWrite{}, LitWriteWide{}, "lit");
        compare(LitAddWrite{}, LitAddWriteWide{}, "add");
        compare(LitMaskedWrite{background.data()}, LitMaskedWriteWide{background.data()}, "masked");
    }
}
