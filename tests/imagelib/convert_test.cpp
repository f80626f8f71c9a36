#include "image_test_support.h"

#include "imagelib/bgl_convert.h"

using namespace testsupport;

using ConvertTest = ImageTest;

namespace {

ImagePtr onePixel(uint16_t depth, std::vector<uint8_t> bytes) {
    ImagePtr image(bgl_create_image(1, 1, depth, 0));
    std::copy(bytes.begin(), bytes.end(), image->image);
    return image;
}

std::vector<uint8_t> converted(int (*convert)(bglimage*), ImagePtr image) {
    EXPECT_EQ(convert(image.get()), 1);
    return pixels(image.get());
}

} // namespace

TEST_F(ConvertTest, EightBitExpandsThroughPaletteAndIndicesPastItAreBlack) {
    ImagePtr image(bgl_create_image(2, 1, 8, 8));
    image->palette[7 * 3 + 0] = 10;
    image->palette[7 * 3 + 1] = 20;
    image->palette[7 * 3 + 2] = 30;
    image->image[0] = 7;
    image->image[1] = 200; // beyond the 8-entry palette
    ASSERT_EQ(bgl_convert_to_32bit(image.get()), 1);
    EXPECT_EQ(image->bits_per_pixel, 32);
    EXPECT_EQ(image->palette_size, 8); // kept, entries reset to black
    EXPECT_EQ(image->palette[7 * 3], 0);
    EXPECT_EQ(pixels(image.get()), (std::vector<uint8_t>{0, 10, 20, 30, 0, 0, 0, 0}));
}

TEST_F(ConvertTest, SixteenBitExpandsWithoutReplicatingLowBits) {
    EXPECT_EQ(converted(bgl_convert_to_24bit, onePixel(16, {0xFF, 0xFF})),
              (std::vector<uint8_t>{248, 252, 248}));
    EXPECT_EQ(converted(bgl_convert_to_32bit, onePixel(16, {0xFF, 0xFF})),
              (std::vector<uint8_t>{0, 248, 252, 248}));
    EXPECT_EQ(converted(bgl_convert_to_16bit, onePixel(24, {255, 255, 255})),
              (std::vector<uint8_t>{0xFF, 0xFF}));
    EXPECT_EQ(converted(bgl_convert_to_16bit, onePixel(24, {8, 4, 8})), (std::vector<uint8_t>{0x08, 0x21}));
    EXPECT_EQ(converted(bgl_convert_to_16bit, onePixel(32, {9, 15, 7, 255})),
              (std::vector<uint8_t>{0x08, 0x3F}));
    EXPECT_EQ(converted(bgl_convert_to_24bit, onePixel(32, {9, 1, 2, 3})), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(ConvertTest, SameDepthIsAPlainCopy) {
    ImagePtr image = patterned(7, 5, 32);
    const std::vector<uint8_t> before = pixels(image.get());
    ASSERT_EQ(bgl_convert_to_32bit(image.get()), 1);
    EXPECT_EQ(pixels(image.get()), before); // the unused byte survives too
}

TEST_F(ConvertTest, GrayscaleWeightsAndRamp) {
    EXPECT_EQ(converted(bgl_convert_to_grayscale, onePixel(24, {255, 255, 255})), std::vector<uint8_t>{255});
    EXPECT_EQ(converted(bgl_convert_to_grayscale, onePixel(24, {1, 1, 1})), std::vector<uint8_t>{1});
    EXPECT_EQ(converted(bgl_convert_to_grayscale, onePixel(24, {0, 0, 10})), std::vector<uint8_t>{1});
    EXPECT_EQ(converted(bgl_convert_to_grayscale, onePixel(24, {100, 0, 0})), std::vector<uint8_t>{30});
    ImagePtr image = onePixel(24, {0, 0, 0});
    ASSERT_EQ(bgl_convert_to_grayscale(image.get()), 1);
    ASSERT_EQ(image->palette_size, 256);
    EXPECT_EQ(image->palette[200 * 3 + 1], 200);
}

TEST_F(ConvertTest, CubeHasDescendingEntriesAndLowestIndexWinsTies) {
    EXPECT_EQ(bgl_nearest_cube_color(255, 255, 255), 0);
    EXPECT_EQ(bgl_nearest_cube_color(0, 0, 0), 215);
    EXPECT_EQ(bgl_nearest_cube_color(26, 0, 0), 179);
    EXPECT_EQ(bgl_nearest_cube_color(25, 0, 0), 215);
    EXPECT_EQ(bgl_nearest_cube_color(128, 128, 128), 86);

    ImagePtr image = onePixel(24, {255, 255, 0});
    ::testing::internal::CaptureStdout();
    bgl_verbose_on();
    ASSERT_EQ(bgl_convert_to_8bit(image.get()), 1);
    bgl_verbose_off();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "BGL Verbose: ON\n8bit Convert: Converting image 24bit -> 8bit\n"
              "8bit Convert: Note: No dithering of any kind performed\nBGL Verbose: OFF\n");
    ASSERT_EQ(image->palette_size, 216);
    EXPECT_EQ(image->image[0], 5);
    EXPECT_EQ(std::vector<uint8_t>(image->palette + 5 * 3, image->palette + 6 * 3),
              (std::vector<uint8_t>{255, 255, 0}));
    EXPECT_EQ(std::vector<uint8_t>(image->palette + 215 * 3, image->palette + 216 * 3),
              (std::vector<uint8_t>{0, 0, 0}));
}

TEST_F(ConvertTest, UnsupportedDepthFailsLeavingZeroedTarget) {
    ImagePtr image = patterned(3, 3, 12);
    EXPECT_EQ(bgl_convert_to_32bit(image.get()), 0);
    EXPECT_STREQ(bgl_last_error(), "32bit Convert: Unsupported bitdepth");
    EXPECT_EQ(image->bits_per_pixel, 32);
    EXPECT_EQ(pixels(image.get()), std::vector<uint8_t>(36, 0));
}

TEST_F(ConvertTest, EmptyPictureConverts) {
    ImagePtr image(bgl_create_image(0, 5, 8, 4));
    EXPECT_EQ(bgl_convert_to_32bit(image.get()), 1);
    EXPECT_EQ(bgl_image_bytes(image.get()), 0u);
}
