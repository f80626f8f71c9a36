#include "image_test_support.h"

#include "imagelib/bgl_transform.h"

using namespace testsupport;

using TransformTest = ImageTest;

namespace {

// A 32-bit picture whose pixel (x, y) holds x in byte 1 (low bits) and y in bytes 2-3.
ImagePtr coordinates(uint16_t width, uint16_t height) {
    ImagePtr image(bgl_create_image(width, height, 32, 0));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = image->image + (size_t(y) * width + x) * 4;
            p[0] = 0;
            p[1] = uint8_t(x & 0xFF);
            p[2] = uint8_t(y >> 8);
            p[3] = uint8_t(y & 0xFF);
        }
    }
    return image;
}

int xAt(const bglimage* image, int x, int y) {
    return image->image[(size_t(y) * image->width + x) * 4 + 1];
}
int yAt(const bglimage* image, int x, int y) {
    const uint8_t* p = image->image + (size_t(y) * image->width + x) * 4;
    return p[2] << 8 | p[3];
}

} // namespace

TEST_F(TransformTest, ScaleTakesTruncatedSourcePositions) {
    // 640x400 -> 256x256: pixel (255, 255) comes from (trunc(2.5*255), trunc(1.5625*255)) = (637, 398).
    ImagePtr image = coordinates(640, 400);
    ASSERT_EQ(bgl_scale_size(256, 256, image.get()), 1);
    EXPECT_EQ(xAt(image.get(), 255, 255), 637 & 0xFF);
    EXPECT_EQ(yAt(image.get(), 255, 255), 398);
    EXPECT_EQ(yAt(image.get(), 0, 1), 1);

    ImagePtr up = coordinates(128, 128);
    ASSERT_EQ(bgl_scale_size(256, 256, up.get()), 1);
    for (int i : {0, 1, 254, 255}) {
        EXPECT_EQ(xAt(up.get(), i, 3), i / 2);
        EXPECT_EQ(yAt(up.get(), 3, i), i / 2);
    }
}

TEST_F(TransformTest, ScaleKeepsPaletteAndHandlesEmptySizes) {
    ImagePtr image = patterned(4, 4, 8, 16);
    const std::vector<uint8_t> palette(image->palette, image->palette + 48);
    ASSERT_EQ(bgl_scale_by(2.0f, 0.5f, image.get()), 1);
    EXPECT_EQ(image->width, 8);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(std::vector<uint8_t>(image->palette, image->palette + 48), palette);

    ASSERT_EQ(bgl_scale_size(0, 0, image.get()), 1);
    ASSERT_EQ(bgl_scale_size(3, 3, image.get()), 1); // from an empty source: stays zero
    EXPECT_EQ(pixels(image.get()), std::vector<uint8_t>(9, 0));
}

TEST_F(TransformTest, InvertByDepth) {
    ImagePtr indexed = patterned(3, 1, 8, 2);
    const std::vector<uint8_t> indices = pixels(indexed.get());
    ASSERT_EQ(bgl_invert_color(indexed.get()), 1);
    EXPECT_EQ(pixels(indexed.get()), indices);
    EXPECT_EQ(indexed->palette[0], 0); // was 255

    ImagePtr red(bgl_create_image(1, 1, 16, 0));
    red->image[0] = 0xF8;
    ASSERT_EQ(bgl_invert_color(red.get()), 1);
    EXPECT_EQ(pixels(red.get()), (std::vector<uint8_t>{0x07, 0xFF}));

    ImagePtr wide(bgl_create_image(1, 1, 32, 0));
    wide->image[0] = 9;
    wide->image[1] = 10;
    ASSERT_EQ(bgl_invert_color(wide.get()), 1);
    EXPECT_EQ(pixels(wide.get()), (std::vector<uint8_t>{9, 245, 255, 255}));

    ImagePtr odd(bgl_create_image(1, 1, 12, 0));
    EXPECT_EQ(bgl_invert_color(odd.get()), 0);
    EXPECT_STREQ(bgl_last_error(), "Invert Color: Unsupported bitdepth");
}

TEST_F(TransformTest, FlipsMirrorAboutTheirNamedAxisAndUndoThemselves) {
    ImagePtr image = coordinates(5, 3);
    ASSERT_EQ(bgl_flip_vertical(image.get()), 1);
    EXPECT_EQ(xAt(image.get(), 0, 1), 4);
    EXPECT_EQ(yAt(image.get(), 0, 1), 1);
    ASSERT_EQ(bgl_flip_horizontal(image.get()), 1);
    EXPECT_EQ(xAt(image.get(), 0, 0), 4);
    EXPECT_EQ(yAt(image.get(), 0, 0), 2);

    ImagePtr rgb = patterned(7, 4, 24);
    const std::vector<uint8_t> before = pixels(rgb.get());
    bgl_flip_vertical(rgb.get());
    EXPECT_NE(pixels(rgb.get()), before);
    bgl_flip_vertical(rgb.get());
    bgl_flip_horizontal(rgb.get());
    bgl_flip_horizontal(rgb.get());
    EXPECT_EQ(pixels(rgb.get()), before);
}

TEST_F(TransformTest, ScreenOrderSwapsIntoFramebufferBytes) {
    ImagePtr wide(bgl_create_image(1, 1, 32, 0));
    wide->image[1] = 10;
    wide->image[2] = 20;
    wide->image[3] = 30;
    EXPECT_EQ(toScreenOrder(wide.get()), 0);
    EXPECT_EQ(pixels(wide.get()), (std::vector<uint8_t>{30, 20, 10, 30}));

    ImagePtr rgb(bgl_create_image(1, 1, 24, 0));
    rgb->image[0] = 1;
    rgb->image[2] = 3;
    toScreenOrder(rgb.get());
    EXPECT_EQ(pixels(rgb.get()), (std::vector<uint8_t>{3, 0, 1}));

    ImagePtr indexed = patterned(4, 4, 8, 4);
    const std::vector<uint8_t> before = pixels(indexed.get());
    toScreenOrder(indexed.get());
    EXPECT_EQ(pixels(indexed.get()), before);
}
