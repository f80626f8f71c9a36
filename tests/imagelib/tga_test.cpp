#include "image_test_support.h"

#include "imagelib/bgl_tga.h"

using namespace testsupport;

using TgaTest = ImageTest;

namespace {

struct TgaFields {
    uint8_t colorMapType = 0;
    uint8_t imageType = 2;
    int mapFirst = 0, mapLength = 0;
    uint8_t mapEntryBits = 0;
    int width = 2, height = 2;
    uint8_t bits = 24;
    uint8_t descriptor = 0x20; // top-to-bottom
};

std::vector<uint8_t> tga(const TgaFields& f, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> out(18, 0);
    auto put = [&](int at, int v) {
        out[size_t(at)] = uint8_t(v & 0xFF);
        out[size_t(at) + 1] = uint8_t((v >> 8) & 0xFF);
    };
    out[1] = f.colorMapType;
    out[2] = f.imageType;
    put(3, f.mapFirst);
    put(5, f.mapLength);
    out[7] = f.mapEntryBits;
    put(12, f.width);
    put(14, f.height);
    out[16] = f.bits;
    out[17] = f.descriptor;
    for (uint8_t b : body) out.push_back(b);
    return out;
}

ImagePtr decode(const std::vector<uint8_t>& file) {
    return ImagePtr(bgl_decode_tga(file.data(), file.size()));
}

} // namespace

TEST_F(TgaTest, TrueColourLayoutsAndOrders) {
    // 24 bits, bottom-up: the file's last row is the picture's first; blue, green, red in the file.
    TgaFields f;
    f.descriptor = 0;
    ImagePtr bottomUp = decode(tga(f, {1, 2, 3, 4, 5, 6, /* row 1 */ 7, 8, 9, 10, 11, 12}));
    ASSERT_TRUE(bottomUp) << bgl_last_error();
    EXPECT_EQ(pixels(bottomUp.get()), (std::vector<uint8_t>{9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}));

    // Right-to-left: each row reversed.
    f.descriptor = 0x30;
    ImagePtr mirrored = decode(tga(f, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    ASSERT_TRUE(mirrored);
    EXPECT_EQ(pixels(mirrored.get()), (std::vector<uint8_t>{6, 5, 4, 3, 2, 1, 12, 11, 10, 9, 8, 7}));

    // 32 bits: blue, green, red, alpha become alpha, red, green, blue.
    f = TgaFields{};
    f.width = 1;
    f.height = 1;
    f.bits = 32;
    f.descriptor = 0x28;
    ImagePtr alpha = decode(tga(f, {10, 20, 30, 40}));
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->bits_per_pixel, 32);
    EXPECT_EQ(pixels(alpha.get()), (std::vector<uint8_t>{40, 30, 20, 10}));

    // 16 bits: 0xFFFF becomes 5:6:5 high byte first with green's low bit clear; 15 bits alike.
    for (uint8_t bits : {16, 15}) {
        f.bits = bits;
        f.descriptor = 0x20;
        ImagePtr sixteen = decode(tga(f, {0xFF, 0xFF}));
        ASSERT_TRUE(sixteen) << int(bits);
        EXPECT_EQ(sixteen->bits_per_pixel, 16);
        EXPECT_EQ(pixels(sixteen.get()), (std::vector<uint8_t>{0xFF, 0xDF}));
    }
}

TEST_F(TgaTest, RunLengthPackets) {
    TgaFields f;
    f.imageType = 10;
    f.width = 3;
    f.height = 2;
    // A run of four, then a raw packet of two; the picture has six pixels.
    ImagePtr image = decode(tga(f, {0x83, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9}));
    ASSERT_TRUE(image) << bgl_last_error();
    EXPECT_EQ(pixels(image.get()),
              (std::vector<uint8_t>{3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7}));

    // Fault: a run past the end of the picture is cut at its end, not written beyond it.
    ImagePtr overrun = decode(tga(f, {0xFF, 1, 2, 3, 0xFF, 4, 5, 6}));
    ASSERT_TRUE(overrun);
    EXPECT_EQ(pixels(overrun.get()),
              std::vector<uint8_t>({3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1}));
    ImagePtr rawOverrun = decode(tga(f, std::vector<uint8_t>{0x7F, 1, 2, 3}));
    ASSERT_TRUE(rawOverrun); // a short file: the rest stays black
    EXPECT_EQ(pixels(rawOverrun.get())[2], 1);
    EXPECT_EQ(pixels(rawOverrun.get())[5], 0);
}

TEST_F(TgaTest, ColourMapsAndGreyscale) {
    TgaFields f;
    f.colorMapType = 1;
    f.imageType = 1;
    f.mapFirst = 2;
    f.mapLength = 3;
    f.mapEntryBits = 24;
    f.width = 2;
    f.height = 1;
    f.bits = 8;
    ImagePtr mapped = decode(tga(f, {1, 2, 3, 4, 5, 6, 7, 8, 9, /* pixels */ 2, 4}));
    ASSERT_TRUE(mapped) << bgl_last_error();
    ASSERT_EQ(mapped->palette_size, 5);
    EXPECT_EQ(std::vector<uint8_t>(mapped->palette, mapped->palette + 15),
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 3, 2, 1, 6, 5, 4, 9, 8, 7}));
    EXPECT_EQ(pixels(mapped.get()), (std::vector<uint8_t>{2, 4}));

    // 16-bit entries are expanded to red, green, blue before use.
    f.mapFirst = 0;
    f.mapLength = 1;
    f.mapEntryBits = 16;
    ImagePtr expanded = decode(tga(f, {0x1F, 0x7C, 0, 0}));
    ASSERT_TRUE(expanded) << bgl_last_error();
    EXPECT_EQ(std::vector<uint8_t>(expanded->palette, expanded->palette + 3),
              (std::vector<uint8_t>{248, 0, 248}));

    // Greyscale gets a grey ramp; an alpha byte after the grey is dropped.
    TgaFields g;
    g.imageType = 3;
    g.width = 2;
    g.height = 1;
    g.bits = 16;
    g.descriptor = 0x28;
    ImagePtr gray = decode(tga(g, {100, 255, 200, 0}));
    ASSERT_TRUE(gray) << bgl_last_error();
    EXPECT_EQ(gray->bits_per_pixel, 8);
    ASSERT_EQ(gray->palette_size, 256);
    EXPECT_EQ(gray->palette[100 * 3 + 1], 100);
    EXPECT_EQ(pixels(gray.get()), (std::vector<uint8_t>{100, 200}));
}

TEST_F(TgaTest, TinyFileWithoutRoomForAFooterLoads) {
    // 19 bytes: shorter than a footer, which it simply does not have.
    TgaFields g;
    g.imageType = 3;
    g.width = 1;
    g.height = 1;
    g.bits = 8;
    ImagePtr image = decode(tga(g, {77}));
    ASSERT_TRUE(image) << bgl_last_error();
    EXPECT_EQ(image->image[0], 77);
}

TEST_F(TgaTest, MapOfOneTransparentEntryLeavesAnEmptyPalette) {
    // Found by fuzzing: the one 32-bit entry is dropped as transparent, and the palette copy was
    // handed a null palette.
    TgaFields f;
    f.colorMapType = 1;
    f.imageType = 1;
    f.mapLength = 1;
    f.mapEntryBits = 32;
    f.bits = 8;
    f.width = 0;
    f.height = 0;
    ImagePtr image = decode(tga(f, {1, 2, 3, 0}));
    ASSERT_TRUE(image) << bgl_last_error();
    EXPECT_EQ(image->palette_size, 0);
}

TEST_F(TgaTest, BadFilesFailWithTheirMessages) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        const char* message;
    };
    std::vector<Case> cases;
    TgaFields f;
    f.imageType = 32;
    cases.push_back({"type 32", tga(f, std::vector<uint8_t>(12, 0)), "TGA: unrecognized image type"});
    f = TgaFields{};
    f.colorMapType = 1;
    cases.push_back({"map on true colour", tga(f, std::vector<uint8_t>(12, 0)),
                     "TGA: non-indexed image has invalid color map type"});
    TgaFields m;
    m.colorMapType = 1;
    m.imageType = 1;
    m.bits = 8;
    m.mapEntryBits = 24;
    m.width = 1;
    m.height = 1;
    m.mapLength = 0;
    cases.push_back({"empty map", tga(m, {0}), "TGA: invalid color map length"});
    m.mapFirst = 65000;
    m.mapLength = 1000;
    cases.push_back(
        {"map beyond 65535", tga(m, std::vector<uint8_t>(3000, 0)), "TGA: invalid color map length"});
    m.mapFirst = 0;
    m.mapLength = 2;
    cases.push_back({"index beyond map", tga(m, {1, 1, 1, 2, 2, 2, 5}), "TGA: Color map index out of range"});
    cases.push_back({"short map", tga(m, {1, 1, 1}), "TGA: error reading colormap"});
    m.colorMapType = 0;
    cases.push_back({"indexed without map", tga(m, {0}), "TGA: indexed image has invalid color map type"});
    f = TgaFields{};
    f.width = 20000;
    cases.push_back({"too wide", tga(f, {0}), "TGA: Image too large"});
    f = TgaFields{};
    cases.push_back({"no pixels", tga(f, {}), "TGA: Could not read from file"});
    for (const Case& c : cases) {
        bgl_clear_errors();
        EXPECT_FALSE(decode(c.file)) << c.what;
        const std::vector<std::string> trail = errorTrail();
        ASSERT_GE(trail.size(), 2u) << c.what;
        EXPECT_EQ(trail[trail.size() - 2], c.message) << c.what;
        EXPECT_EQ(trail.back(), "TGA: Couldn't read imagedata") << c.what;
    }
    bgl_clear_errors();
    EXPECT_FALSE(decode(std::vector<uint8_t>(10, 0)));
    EXPECT_STREQ(bgl_last_error(), "TGA: Cannot read header");
    TgaFields id;
    std::vector<uint8_t> withId = tga(id, {});
    withId[0] = 200;
    EXPECT_FALSE(decode(withId));
    EXPECT_STREQ(bgl_last_error(), "TGA: Cannot skip ID field");
}
