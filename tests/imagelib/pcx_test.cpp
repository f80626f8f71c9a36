#include "image_test_support.h"

#include "forge/common/write_file.h"
#include "forge/pcx/pcx_encoder.h"
#include "imagelib/bgl_pcx.h"

using namespace testsupport;

using PcxTest = ImageTest;

namespace {

struct PcxFields {
    uint8_t manufacturer = 10;
    uint8_t encoding = 1;
    uint8_t bitsPerPlane = 8;
    int xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    uint8_t planes = 1;
    int bytesPerLine = 0;
};

std::vector<uint8_t> pcxHeader(const PcxFields& f) {
    std::vector<uint8_t> h(128, 0);
    auto put = [&](int at, int v) {
        h[at] = uint8_t(v & 0xFF);
        h[at + 1] = uint8_t((v >> 8) & 0xFF);
    };
    h[0] = f.manufacturer;
    h[1] = 5;
    h[2] = f.encoding;
    h[3] = f.bitsPerPlane;
    put(4, f.xmin);
    put(6, f.ymin);
    put(8, f.xmax);
    put(10, f.ymax);
    h[65] = f.planes;
    put(66, f.bytesPerLine);
    return h;
}

std::vector<uint8_t> withBody(std::vector<uint8_t> file, const std::vector<uint8_t>& body) {
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

ImagePtr decode(const std::vector<uint8_t>& file) {
    return ImagePtr(bgl_decode_pcx(file.data(), file.size()));
}

std::vector<uint8_t> gradientRgb(int width, int height) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(x * 7);
            p[1] = uint8_t(y * 5);
            p[2] = uint8_t((x ^ y) | 0xC0); // bytes that must be escaped as runs
        }
    return rgb;
}

} // namespace

TEST_F(PcxTest, EncoderRoundTripsEightBitWithPalette) {
    const int w = 37, h = 13; // odd width: each line carries a padding byte
    std::vector<uint8_t> indices(size_t(w) * h), palette(768);
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = uint8_t(i / 5 % 3 == 0 ? 0xC7 : i * 13);
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = uint8_t(i * 3 + 1);
    const std::string path = scratchPath("eight.pcx");
    ASSERT_EQ(forge::writeFile(path, forge::encodePcx8(w, h, indices.data(), palette.data())), "");

    ImagePtr image(bgl_load_pcx(path.c_str()));
    ASSERT_TRUE(image) << bgl_last_error();
    EXPECT_EQ(image->width, w);
    EXPECT_EQ(image->height, h);
    EXPECT_EQ(image->bits_per_pixel, 8);
    ASSERT_EQ(image->palette_size, 256);
    EXPECT_EQ(pixels(image.get()), indices);
    EXPECT_EQ(std::vector<uint8_t>(image->palette, image->palette + 768), palette);
}

TEST_F(PcxTest, EncoderRoundTripsTwentyFourBitAndDropsPlanePadding) {
    for (int w : {3, 64, 321}) {
        const int h = 9;
        const std::vector<uint8_t> rgb = gradientRgb(w, h);
        ImagePtr image = decode(forge::encodePcx24(w, h, rgb.data()));
        ASSERT_TRUE(image) << bgl_last_error();
        EXPECT_EQ(image->bits_per_pixel, 24);
        EXPECT_EQ(pixels(image.get()), rgb) << "width " << w;
    }
}

TEST_F(PcxTest, SmallTwentyFourBitFileWithoutRoomForAPaletteLoads) {
    // Shorter than the 769-byte palette tail: there is simply no palette, not a failure.
    const std::vector<uint8_t> rgb = gradientRgb(2, 2);
    const std::vector<uint8_t> file = forge::encodePcx24(2, 2, rgb.data());
    ASSERT_LT(file.size(), 769u);
    ImagePtr image = decode(file);
    ASSERT_TRUE(image) << bgl_last_error();
    EXPECT_EQ(image->palette_size, 0);
    EXPECT_EQ(pixels(image.get()), rgb);
}

TEST_F(PcxTest, MatchesNetpbmDecoder) {
    if (!haveProgram("pcxtoppm")) GTEST_SKIP() << "pcxtoppm (netpbm) not installed";
    const int w = 45, h = 17;
    const std::vector<uint8_t> rgb = gradientRgb(w, h);
    const std::string pcx = scratchPath("netpbm.pcx"), ppm = scratchPath("netpbm.ppm");
    ASSERT_EQ(forge::writeFile(pcx, forge::encodePcx24(w, h, rgb.data())), "");
    ASSERT_EQ(runShell("pcxtoppm " + pcx + " > " + ppm + " 2>/dev/null"), 0);
    const std::string header = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
    std::vector<uint8_t> expected(header.begin(), header.end());
    ImagePtr image(bgl_load_pcx(pcx.c_str()));
    ASSERT_TRUE(image);
    const std::vector<uint8_t> ours = pixels(image.get());
    expected.insert(expected.end(), ours.begin(), ours.end());
    EXPECT_EQ(readBytes(ppm), expected);
}

TEST_F(PcxTest, RunLengthRulesAndRunsCrossingLines) {
    // 4x2, one plane: 0xC5 0x7F gives five 0x7F (crossing into row 1); 0xBF is a literal;
    // 0xC0 0x55 gives nothing; then 0xC2 0x01.
    PcxFields f;
    f.xmax = 3;
    f.ymax = 1;
    f.bytesPerLine = 4;
    ImagePtr image = decode(withBody(pcxHeader(f), {0xC5, 0x7F, 0xBF, 0xC0, 0x55, 0xC2, 0x01}));
    ASSERT_TRUE(image) << bgl_last_error();
    EXPECT_EQ(pixels(image.get()), (std::vector<uint8_t>{0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0xBF, 0x01, 0x01}));
    EXPECT_EQ(image->palette_size, 0); // no marker
}

TEST_F(PcxTest, DimensionsComeFromTheWindow) {
    PcxFields f;
    f.xmin = 10;
    f.xmax = 19;
    f.bytesPerLine = 10;
    ImagePtr image = decode(withBody(pcxHeader(f), std::vector<uint8_t>(10, 1)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 10);
    EXPECT_EQ(image->height, 1);
}

TEST_F(PcxTest, ShortFileLeavesTheUndecodedRestBlack) {
    PcxFields f;
    f.xmax = 99;
    f.ymax = 99;
    f.bytesPerLine = 100;
    ImagePtr image = decode(withBody(pcxHeader(f), {0xC3, 0x09}));
    ASSERT_TRUE(image);
    std::vector<uint8_t> expected(10000, 0);
    expected[0] = expected[1] = expected[2] = 9;
    EXPECT_EQ(pixels(image.get()), expected);
}

TEST_F(PcxTest, BadHeadersFailWithTheirMessages) {
    struct Case {
        const char* what;
        PcxFields fields;
        const char* message;
    };
    PcxFields base;
    base.xmax = 3;
    base.ymax = 3;
    base.bytesPerLine = 4;
    std::vector<Case> cases;
    auto with = [&](const char* what, auto change, const char* message) {
        PcxFields f = base;
        change(f);
        cases.push_back({what, f, message});
    };
    with(
        "manufacturer 5", [](PcxFields& f) { f.manufacturer = 5; }, "PCX: Only ZSoft images supported");
    with(
        "encoding 0", [](PcxFields& f) { f.encoding = 0; }, "PCX: Only rle compressed images supported");
    with(
        "xmax < xmin", [](PcxFields& f) { f.xmin = 5; }, "PCX: Invalid image dimensions");
    with(
        "ymax < ymin", [](PcxFields& f) { f.ymax = -2; }, "PCX: Invalid image dimensions");
    with(
        "four planes", [](PcxFields& f) { f.planes = 4; }, "PCX: Unsupported bitdepth");
    with(
        "one bit", [](PcxFields& f) { f.bitsPerPlane = 1; }, "PCX: Unsupported bitdepth");
    with(
        "too wide", [](PcxFields& f) { f.xmax = 20000, f.bytesPerLine = 20000; }, "PCX: Image too large");
    with(
        "too big", [](PcxFields& f) { f.xmax = 16383, f.ymax = 16383, f.planes = 3, f.bytesPerLine = 16384; },
        "PCX: Image too large");
    with(
        "short lines", [](PcxFields& f) { f.bytesPerLine = 2; }, "PCX: Invalid bytes per line");
    with(
        "negative lines", [](PcxFields& f) { f.bytesPerLine = -4; }, "PCX: Invalid bytes per line");
    for (const Case& c : cases) {
        bgl_clear_errors();
        EXPECT_FALSE(decode(withBody(pcxHeader(c.fields), std::vector<uint8_t>(64, 1)))) << c.what;
        EXPECT_STREQ(bgl_last_error(), c.message) << c.what;
        EXPECT_EQ(bgl_error_count(), 1) << c.what;
    }

    bgl_clear_errors();
    EXPECT_FALSE(decode(std::vector<uint8_t>(100, 10)));
    EXPECT_STREQ(bgl_last_error(), "PCX: Cannot read header");
    EXPECT_FALSE(ImagePtr(bgl_load_pcx(scratchPath("missing.pcx").c_str())));
    EXPECT_STREQ(bgl_last_error(), "PCX: File not found");
}
