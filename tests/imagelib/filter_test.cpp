#include "image_test_support.h"

#include "imagelib/bgl_convert.h"
#include "imagelib/bgl_filter.h"

using namespace testsupport;

using FilterTest = ImageTest;

namespace {

ImagePtr gray(uint16_t width, uint16_t height, std::vector<uint8_t> values) {
    ImagePtr image(bgl_create_image(width, height, 8, 0));
    std::copy(values.begin(), values.end(), image->image);
    return image;
}

} // namespace

TEST_F(FilterTest, UniformPicturesStayUniform) {
    for (auto filter : {bgl_blur, bgl_blur_more}) {
        ImagePtr image(bgl_create_image(5, 4, 32, 0));
        std::fill(image->image, image->image + 80, uint8_t(77));
        ASSERT_EQ(filter(image.get()), 1);
        EXPECT_EQ(pixels(image.get()), std::vector<uint8_t>(80, 77));
    }
}

TEST_F(FilterTest, BlurRegionsUseTheirOwnNeighbourhoods) {
    // 3x3 of one-byte pixels:   10  20  30 / 40  50  60 / 70  80  90
    ImagePtr image = gray(3, 3, {10, 20, 30, 40, 50, 60, 70, 80, 90});
    ASSERT_EQ(bgl_blur(image.get()), 1);
    const std::vector<uint8_t> out = pixels(image.get());
    EXPECT_EQ(out[4], (40 + 20 + 80 + 60 + 50) / 5);
    EXPECT_EQ(out[1], (10 + 50 + 30 + 20) >> 2);
    EXPECT_EQ(out[3], (30 + 10 + 70 + 50 + 40) / 5); // left neighbour is row 0's last pixel
    EXPECT_EQ(out[0], (10 + 40 + 20) / 3);
    EXPECT_EQ(out[8], (90 + 60 + 80) / 3);
    EXPECT_EQ(out[7], (50 + 70 + 90 + 80) >> 2);
}

TEST_F(FilterTest, BlurMoreBoxesStayInsideThePicture) {
    // Fault: the 3x3 box of the first inner row's first pixel (and the last inner row's last
    // pixel) reached one pixel before (after) the buffer. That pixel now repeats the first (last).
    ImagePtr image = gray(3, 3, {10, 20, 30, 40, 50, 60, 70, 80, 90});
    ASSERT_EQ(bgl_blur_more(image.get()), 1);
    const std::vector<uint8_t> out = pixels(image.get());
    EXPECT_EQ(out[4], (10 + 20 + 30 + 40 + 50 + 60 + 70 + 80 + 90) / 9);
    EXPECT_EQ(out[3], (10 + 10 + 20 + 30 + 40 + 50 + 60 + 70 + 80) / 9);
    EXPECT_EQ(out[5], (20 + 30 + 40 + 50 + 60 + 70 + 80 + 90 + 90) / 9);
    EXPECT_EQ(out[1], (10 + 20 + 30 + 40 + 50 + 60) / 6);
    EXPECT_EQ(out[0], (10 + 20 + 40 + 50) >> 2);
}

TEST_F(FilterTest, TinyPicturesAreSafe) {
    // Under 2x2 the filters have no neighbours on one side: blurs leave such pictures alone.
    for (auto size : {std::pair<uint16_t, uint16_t>{1, 1}, {1, 5}, {5, 1}, {0, 3}, {2, 2}, {2, 3}, {3, 2}}) {
        for (auto filter : {bgl_blur, bgl_blur_more, bgl_tiler}) {
            ImagePtr image = patterned(size.first, size.second, 24);
            EXPECT_EQ(filter(image.get()), 1) << size.first << "x" << size.second;
        }
        ImagePtr image = patterned(size.first, size.second, 24);
        const std::vector<uint8_t> before = pixels(image.get());
        bgl_blur(image.get());
        if (size.first < 2 || size.second < 2) {
            EXPECT_EQ(pixels(image.get()), before);
        }
    }
}

TEST_F(FilterTest, TilerWeights) {
    EXPECT_EQ(bgl_tiler_weight(256, 256, 127, 127, 200), 200);
    EXPECT_EQ(bgl_tiler_weight(256, 256, 0, 100, 200), 0);
    EXPECT_EQ(bgl_tiler_weight(256, 256, 100, 0, 200), 0); // top edge
    // dx 27, dy 67: nearer the top; 200 - 200*27*127 / (127*60 + 127*127 - 127*100) = 138.
    EXPECT_EQ(bgl_tiler_weight(256, 256, 100, 60, 200), 138);
    EXPECT_EQ(bgl_tiler_weight(256, 256, 5, 6, 456), bgl_tiler_weight(256, 256, 5, 6, 456 & 0xFF));
    EXPECT_EQ(bgl_tiler_weight(7, 7, 3, 0, 99), 99); // odd size's middle column keeps all
    // Fault: pictures 2 or 3 rows tall divided by zero; they keep the source value.
    EXPECT_EQ(bgl_tiler_weight(8, 2, 1, 0, 77), 77);
    EXPECT_EQ(bgl_tiler_weight(8, 3, 2, 2, 77), 77);
    // Products beyond 32 bits on a large picture.
    const int w = bgl_tiler_weight(16384, 16384, 4000, 4100, 255);
    EXPECT_GE(w, 0);
    EXPECT_LE(w, 255);
}

TEST_F(FilterTest, TilerAddsTheDiagonalPartner) {
    ImagePtr image = patterned(256, 256, 24);
    ImagePtr source(bgl_duplicate_image(image.get()));
    ::testing::internal::CaptureStdout();
    bgl_verbose_on();
    ASSERT_EQ(bgl_tiler(image.get()), 1);
    bgl_verbose_off();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "BGL Verbose: ON\nTiler: Tileing bitmap\nBGL Verbose: OFF\n");
    EXPECT_EQ(image->bits_per_pixel, 24);
    auto at = [](const bglimage* im, int x, int y, int l) {
        return im->image[(size_t(y) * im->width + x) * 3 + l];
    };
    for (int l = 0; l < 3; ++l) {
        const int expected = (bgl_tiler_weight(256, 256, 0, 0, at(source.get(), 0, 0, l)) +
                              bgl_tiler_weight(256, 256, 128, 128, at(source.get(), 128, 128, l))) &
                             0xFF;
        EXPECT_EQ(at(image.get(), 0, 0, l), expected);
    }
}

TEST_F(FilterTest, SixteenBitPicturesGoThroughTwentyFourBits) {
    for (auto filter : {bgl_blur, bgl_blur_more, bgl_tiler}) {
        ImagePtr image = patterned(9, 7, 16);
        ImagePtr expected(bgl_duplicate_image(image.get()));
        ASSERT_EQ(bgl_convert_to_24bit(expected.get()), 1);
        ASSERT_EQ(filter(expected.get()), 1);
        ASSERT_EQ(bgl_convert_to_16bit(expected.get()), 1);

        ::testing::internal::CaptureStdout();
        bgl_verbose_on();
        ASSERT_EQ(filter(image.get()), 1);
        bgl_verbose_off();
        const std::string log = ::testing::internal::GetCapturedStdout();
        EXPECT_NE(log.find("WARNING! Conversion to 24bit will be forced"), std::string::npos);
        EXPECT_EQ(image->bits_per_pixel, 16);
        EXPECT_EQ(pixels(image.get()), pixels(expected.get()));
    }
}

TEST_F(FilterTest, UnsupportedDepthIsRefused) {
    ImagePtr image = patterned(4, 4, 12);
    EXPECT_EQ(bgl_blur_more(image.get()), 0);
    EXPECT_STREQ(bgl_last_error(), "Blur: Unsupported bitdepth");
}
