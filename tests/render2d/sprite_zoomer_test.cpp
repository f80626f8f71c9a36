#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "picture_test_support.h"
#include "pixel_test_support.h"
#include "render2d/sprite_zoomer.h"

namespace {

Pixel addScaled(Pixel s, Pixel d, int level) {
    return combineChannels(s, d, [level](int sc, int dc) { return std::min(dc + ((level * sc) >> 8), 255); });
}

} // namespace

TEST(SpriteZoomer, SelectWrapsTheSequenceAndTakesOnlyFullSizePictures) {
    SpriteZoomer zoomer;
    // Nothing added yet: select must neither divide by zero nor hand out a picture.
    zoomer.indexA = 3;
    zoomer.select();
    EXPECT_EQ(zoomer.pixelsA, nullptr);
    EXPECT_EQ(zoomer.pixelsB, nullptr);

    Picture small = randomPicture(256, 512, 1);
    Picture grey(bgl_create_image(512, 512, 8, 256));
    EXPECT_FALSE(zoomer.addPicture(small.get()));
    EXPECT_FALSE(zoomer.addPicture(grey.get()));
    EXPECT_FALSE(zoomer.addPicture(nullptr));
    EXPECT_EQ(zoomer.count, 0);

    std::vector<Picture> pictures;
    for (int i = 0; i < 9; ++i) pictures.push_back(randomPicture(512, 512, 10 + i));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(zoomer.addPicture(pictures[i].get()));
    zoomer.indexA = 4;
    zoomer.indexB = 5;
    zoomer.select();
    EXPECT_EQ(zoomer.pixelsA, picturePixels(pictures[1]));
    EXPECT_EQ(zoomer.pixelsB, picturePixels(pictures[2]));
    zoomer.indexA = -1;
    zoomer.select();
    EXPECT_EQ(zoomer.pixelsA, picturePixels(pictures[2]));

    for (int i = 3; i < 8; ++i) EXPECT_TRUE(zoomer.addPicture(pictures[i].get()));
    EXPECT_FALSE(zoomer.addPicture(pictures[8].get()));
    EXPECT_EQ(zoomer.count, 8);
}

TEST(SpriteZoomer, AtDepth256EveryPixelButTheLastColumnTakesOneTexel) {
    SpriteZoomer zoomer;
    Picture picture = randomPicture(512, 512, 7);
    const Pixel* texels = picturePixels(picture);
    Canvas screen(320, 200, 0xAB000000u);
    zoomer.drawZoomed(screen.pixels.data(), texels, 0, 0, 256, 200);
    // The picture covers (-96, -156) to (415, 355).
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 319; ++x)
            ASSERT_EQ(screen.at(x, y), addScaled(texels[(y + 156) * 512 + x + 96], 0xAB000000u, 200))
                << x << "," << y;
        ASSERT_EQ(screen.at(319, y), 0xAB000000u);
    }
}

TEST(SpriteZoomer, LevelsAreHeldToAByteAndDepthsBelowOneDrawNothing) {
    SpriteZoomer zoomer;
    Picture picture = randomPicture(512, 512, 8);
    Canvas base(320, 200);
    fillRandom(base, 3);

    for (int depth : {0, -1, -100000}) {
        Canvas screen = base;
        zoomer.drawZoomed(screen.pixels.data(), picturePixels(picture), 0, 0, depth, 255);
        EXPECT_EQ(screen.pixels, base.pixels) << depth;
    }
    Canvas screen = base;
    zoomer.drawZoomed(screen.pixels.data(), picturePixels(picture), 10, -20, 300, 0);
    EXPECT_EQ(screen.pixels, base.pixels);
    zoomer.drawZoomed(screen.pixels.data(), picturePixels(picture), 10, -20, 300, -7);
    EXPECT_EQ(screen.pixels, base.pixels);

    Canvas full = base, over = base;
    zoomer.drawZoomed(full.pixels.data(), picturePixels(picture), 10, -20, 300, 255);
    zoomer.drawZoomed(over.pixels.data(), picturePixels(picture), 10, -20, 300, 300);
    EXPECT_EQ(full.pixels, over.pixels);
    EXPECT_NE(full.pixels, base.pixels);
}

// From a depth of about 658 on, the separately rounded edges and step used to reach texel row or
// column 512: past the picture. Such texels are held at the picture's last row and column.
TEST(SpriteZoomer, FarPicturesNeverReadPastThePicture) {
    SpriteZoomer zoomer;
    // Exactly 512x512 pixels in their own block, so the sanitizer sees any read past the end.
    std::vector<Pixel> texels(512 * 512, 0x00010101u);
    for (int i = 0; i < 512; ++i) texels[511 * 512 + i] = texels[i * 512 + 511] = 0x00FFFFFFu;
    bool lastTexelSeen = false;
    Canvas screen(320, 200);
    for (int depth = 600; depth < 3000; depth += 3) {
        for (int shift : {0, 1, 7, -5}) {
            std::fill(screen.pixels.begin(), screen.pixels.end(), 0u);
            zoomer.drawZoomed(screen.pixels.data(), texels.data(), shift, -shift, depth, 255);
            lastTexelSeen |= std::count(screen.pixels.begin(), screen.pixels.end(), 0x00FEFEFEu) > 0;
        }
    }
    EXPECT_TRUE(lastTexelSeen);

    // Pictures partly or wholly off screen, and absurd depths and positions.
    for (int x : {-2000000000, -700, -300, 0, 300, 700, 2000000000})
        for (int y : {-2000000000, -500, -150, 0, 150, 500, 2000000000})
            for (int depth : {1, 2, 100, 256, 1000, 100000, 2147483647})
                zoomer.drawZoomed(screen.pixels.data(), texels.data(), x, y, depth, 255);
}
