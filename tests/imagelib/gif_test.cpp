#include "image_test_support.h"

#include "gif_test_writer.h"
#include "imagelib/bgl_gif.h"

using namespace testsupport;
namespace gw = gifwriter;

using GifTest = ImageTest;

namespace {

std::vector<uint8_t> noisePixels(int width, int height, int colours) {
    std::vector<uint8_t> px(size_t(width) * height);
    uint32_t seed = 12345;
    for (size_t i = 0; i < px.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        px[i] = uint8_t(((seed >> 16) % 3 + i / 97) % colours);
    }
    return px;
}

ImagePtr decode(const std::vector<uint8_t>& file) {
    return ImagePtr(bgl_decode_gif(file.data(), file.size()));
}

std::vector<uint8_t> simpleGif(int width, int height, const std::vector<uint8_t>& px) {
    std::vector<uint8_t> f = gw::header("GIF87a", width, height, 7);
    gw::image(f, width, height, 0, px, 8);
    f.push_back(0x3B);
    return f;
}

} // namespace

TEST_F(GifTest, DecodesLongStreamsAcrossCodeGrowthAndClears) {
    // Enough pixels that the table fills to 4,096 entries and starts over more than once.
    const int w = 300, h = 200;
    const std::vector<uint8_t> px = noisePixels(w, h, 256);
    ImagePtr image = decode(simpleGif(w, h, px));
    ASSERT_TRUE(image) << bgl_last_error();
    EXPECT_EQ(image->bits_per_pixel, 8);
    ASSERT_EQ(image->palette_size, 256);
    EXPECT_EQ(image->palette[5 * 3 + 2], 15);
    EXPECT_EQ(pixels(image.get()), px);

    // A small code size: four colours, codes from 3 bits.
    const std::vector<uint8_t> small = noisePixels(40, 30, 4);
    std::vector<uint8_t> f = gw::header("GIF89a", 40, 30, 1);
    gw::image(f, 40, 30, 0, small, 2);
    ImagePtr image2 = decode(f); // no trailer: the end of the file finishes too
    ASSERT_TRUE(image2) << bgl_last_error();
    EXPECT_EQ(image2->palette_size, 4);
    EXPECT_EQ(pixels(image2.get()), small);
}

TEST_F(GifTest, ExtensionsAreSkippedAndLaterFramesDropped) {
    const std::vector<uint8_t> px = noisePixels(16, 8, 256);
    std::vector<uint8_t> f = gw::header("GIF89a", 16, 8, 7);
    const std::vector<uint8_t> graphicControl = {0x21, 0xF9, 4, 0x05, 10, 0, 3, 0};
    f.insert(f.end(), graphicControl.begin(), graphicControl.end());
    gw::image(f, 16, 8, 0, px, 8);
    f.insert(f.end(), graphicControl.begin(), graphicControl.end());
    gw::image(f, 3, 3, 0, std::vector<uint8_t>(9, 1), 8);
    f.push_back(0x3B);
    ::testing::internal::CaptureStdout();
    bgl_verbose_on();
    ImagePtr image = decode(f);
    bgl_verbose_off();
    const std::string log = ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(image) << bgl_last_error();
    EXPECT_EQ(pixels(image.get()), px);
    EXPECT_NE(
        log.find("GIF: Only first image of animated gif supported\nGIF: The rest is read and ignored\n"),
        std::string::npos);
}

TEST_F(GifTest, InterlacedRowsAreReordered) {
    for (int h : {1, 2, 3, 5, 9, 17}) {
        const int w = 5;
        std::vector<uint8_t> px(size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) px[size_t(y) * w + x] = uint8_t(y * 10 + x);
        // Rows as an interlaced file stores them.
        std::vector<uint8_t> stored;
        for (auto [first, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
            for (int y = first; y < h; y += step)
                stored.insert(stored.end(), &px[size_t(y) * w], &px[size_t(y) * w] + w);
        std::vector<uint8_t> f = gw::header("GIF89a", w, h, 7);
        gw::image(f, w, h, 0x40, stored, 8);
        ::testing::internal::CaptureStdout();
        ImagePtr image = decode(f);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "GIF: Converting interlaced image\n");
        ASSERT_TRUE(image);
        EXPECT_EQ(pixels(image.get()), px) << "height " << h;
        // Quiet mode silences the note: the fuzz target printed it for most of its inputs.
        bgl_set_quiet(1);
        ::testing::internal::CaptureStdout();
        ImagePtr again = decode(f);
        bgl_set_quiet(0);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        EXPECT_TRUE(again);
    }
}

TEST_F(GifTest, FirstImagesOwnColourTableIsItsPalette) {
    // Fault: the local table was skipped, so a file with only a local table decoded all black.
    const std::vector<uint8_t> px = noisePixels(6, 4, 4);
    std::vector<uint8_t> f = {'G', 'I', 'F', '8', '9', 'a', 6, 0, 4, 0, 0x00, 0, 0}; // no global table
    f.push_back(0x2C);
    gw::put16(f, 0);
    gw::put16(f, 0);
    gw::put16(f, 6);
    gw::put16(f, 4);
    f.push_back(0x81); // local table of 4 entries
    const std::vector<uint8_t> local = {9, 8, 7, 6, 5, 4, 3, 2, 1, 200, 201, 202};
    f.insert(f.end(), local.begin(), local.end());
    f.push_back(2);
    gw::putSubBlocks(f, gw::lzw(px, 2));
    ImagePtr image = decode(f);
    ASSERT_TRUE(image) << bgl_last_error();
    ASSERT_EQ(image->palette_size, 4);
    EXPECT_EQ(std::vector<uint8_t>(image->palette, image->palette + 12), local);
    EXPECT_EQ(pixels(image.get()), px);
}

TEST_F(GifTest, BrokenFilesEndWithAMessage) {
    const std::vector<uint8_t> px = noisePixels(20, 20, 256);
    const std::vector<uint8_t> good = simpleGif(20, 20, px);
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        std::vector<std::string> trail;
    };
    std::vector<Case> cases;

    std::vector<uint8_t> badSignature = good;
    badSignature[4] = '8';
    cases.push_back({"signature", badSignature, {"GIF: Not a valid GIF file"}});
    cases.push_back({"short header",
                     std::vector<uint8_t>(good.begin(), good.begin() + 10),
                     {"GIF: Couldn't read imageheader"}});
    cases.push_back({"short palette",
                     std::vector<uint8_t>(good.begin(), good.begin() + 100),
                     {"GIF: Couldn't read palette"}});

    std::vector<uint8_t> noImage = gw::header("GIF89a", 4, 4, 0);
    noImage.push_back(0x3B);
    cases.push_back({"no image", noImage, {"GIF: No image in file"}});

    // Cut inside the image data: the sub-block lengths promise more than the file holds.
    cases.push_back({"cut data",
                     std::vector<uint8_t>(good.begin(), good.end() - 40),
                     {"GIF: File ends inside image data", "GIF: Decoding error"}});

    // Minimum code size 12: codes would outgrow the 4,096-entry table.
    std::vector<uint8_t> wideCodes = good;
    wideCodes[13 + 768 + 10] = 12;
    cases.push_back({"code size", wideCodes, {"GIF: Invalid LZW code size", "GIF: Decoding error"}});

    // Code 7 while the next free code is 6 (s = 2: clear 4, end 5).
    std::vector<uint8_t> tooLarge = gw::header("GIF89a", 4, 4, 1);
    gw::BitPacker codes;
    codes.put(4, 3);
    codes.put(1, 3);
    codes.put(7, 3);
    codes.flush();
    tooLarge.insert(tooLarge.end(), {0x2C, 0, 0, 0, 0, 4, 0, 4, 0, 0, 2});
    gw::putSubBlocks(tooLarge, codes.bytes);
    cases.push_back({"code beyond next", tooLarge, {"GIF: Decoding error"}});

    std::vector<uint8_t> huge = gw::header("GIF89a", 0xFFFF, 0xFFFF, 0);
    huge.insert(huge.end(), {0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2});
    cases.push_back({"too large", huge, {"GIF: Image too large"}});

    // An image reaching past the logical screen, first or later.
    std::vector<uint8_t> offScreen = gw::header("GIF89a", 20, 19, 7);
    gw::image(offScreen, 20, 20, 0, px, 8);
    cases.push_back({"off screen", offScreen, {"GIF: Decoding error"}});
    std::vector<uint8_t> laterOffScreen = gw::header("GIF89a", 20, 20, 7);
    gw::image(laterOffScreen, 20, 20, 0, px, 8);
    laterOffScreen.insert(laterOffScreen.end(), {0x2C, 10, 0, 0, 0, 11, 0, 1, 0, 0, 8, 0});
    cases.push_back({"later off screen", laterOffScreen, {"GIF: Decoding error"}});

    for (const Case& c : cases) {
        bgl_clear_errors();
        EXPECT_FALSE(decode(c.file)) << c.what;
        EXPECT_EQ(errorTrail(), c.trail) << c.what;
    }
    EXPECT_FALSE(ImagePtr(bgl_load_gif(scratchPath("missing.gif").c_str())));
    EXPECT_STREQ(bgl_last_error(), "GIF: File not found");
}
