#include "resources/bitmap_font.h"

#include "imagelib/bgl_image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kScreenWidth = 32;
constexpr int kScreenHeight = 16;

struct Record {
    uint8_t code, width, height;
    std::vector<uint8_t> levels;
};

std::vector<uint8_t> fontBytes(const std::vector<Record>& records) {
    std::vector<uint8_t> bytes(BitmapFont::kHeaderBytes);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i / 3);
    for (const Record& r : records) {
        bytes.insert(bytes.end(), {r.code, r.width, r.height});
        bytes.insert(bytes.end(), r.levels.begin(), r.levels.end());
    }
    return bytes;
}

BitmapFont fontFrom(const std::vector<uint8_t>& bytes) {
    BitmapFont font;
    font.loadFromBytes(bytes.data(), bytes.size());
    return font;
}

// A 2x2 'A' with one transparent level, a 3x1 'B'.
const Record kA{'A', 2, 2, {9, 0, 200, 255}};
const Record kB{'B', 3, 1, {1, 2, 3}};

std::vector<uint8_t> screen(uint8_t fill = 0x11) {
    return std::vector<uint8_t>(size_t(kScreenWidth) * kScreenHeight * 4, fill);
}

const uint8_t* pixelAt(const std::vector<uint8_t>& s, int x, int y) {
    return &s[(size_t(y) * kScreenWidth + x) * 4];
}

} // namespace

TEST(BitmapFont, ReadsHeaderAndRecordsLaterOnesReplacing) {
    const Record laterA{'A', 1, 1, {77}};
    const BitmapFont font = fontFrom(fontBytes({kA, kB, laterA}));
    EXPECT_EQ(font.headerBlock[3 * 100], 100);
    ASSERT_TRUE(font.glyphs['A']);
    EXPECT_EQ(font.glyphs['A']->width, 1);
    EXPECT_EQ(font.glyphs['A']->pixels, std::vector<uint8_t>{77});
    ASSERT_TRUE(font.glyphs['B']);
    EXPECT_EQ(font.glyphs['B']->pixels, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(font.glyphs['C']);
    EXPECT_EQ(font.defaultAdvance, 10);
}

// A record cut short by the end of the file used to leave a glyph with unread pixels: it is dropped,
// and an earlier glyph of the same code stays.
TEST(BitmapFont, DropsRecordCutShortByEndOfFile) {
    const std::vector<uint8_t> whole = fontBytes({kA, kB, Record{'A', 4, 4, std::vector<uint8_t>(16, 5)}});
    const size_t lastRecord = whole.size() - 19;
    for (size_t cut = lastRecord + 1; cut < whole.size(); ++cut) {
        SCOPED_TRACE("file cut to " + std::to_string(cut) + " bytes");
        const std::vector<uint8_t> shortFile(whole.begin(), whole.begin() + ptrdiff_t(cut));
        const BitmapFont font = fontFrom(shortFile);
        ASSERT_TRUE(font.glyphs['A']);
        EXPECT_EQ(font.glyphs['A']->width, 2);
        EXPECT_EQ(font.glyphs['A']->pixels, kA.levels);
        EXPECT_TRUE(font.glyphs['B']);
    }
    // Shorter than the header: no glyphs at all.
    const std::vector<uint8_t> headerOnly(whole.begin(), whole.begin() + 700);
    const BitmapFont font = fontFrom(headerOnly);
    for (const auto& glyph : font.glyphs) EXPECT_FALSE(glyph);
}

TEST(BitmapFont, MissingFileLeavesFontEmptyAndTextOnlyAdvances) {
    BitmapFont font("no/such/font.aff");
    EXPECT_FALSE(font.load("no/such/font.aff"));
    for (const auto& glyph : font.glyphs) EXPECT_FALSE(glyph);
    std::vector<uint8_t> s = screen();
    font.drawText(s.data(), kScreenWidth, kScreenHeight, "HELLO", 0, 0);
    EXPECT_EQ(s, screen());
}

TEST(BitmapFont, LoadsFromFile) {
    // Per process: other worktrees run the same tests at the same time.
    const std::string path = testing::TempDir() + "bitmap_font_test_" + std::to_string(getpid()) + ".aff";
    const std::vector<uint8_t> bytes = fontBytes({kA, kB});
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(file);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    BitmapFont font(path.c_str());
    ASSERT_TRUE(font.glyphs['B']);
    EXPECT_EQ(font.glyphs['B']->pixels, kB.levels);
    std::remove(path.c_str());
}

TEST(BitmapFont, DrawTextWritesGreyLevelsAndKeepsTransparentPixelsAndFourthByte) {
    const BitmapFont font = fontFrom(fontBytes({kA, kB}));
    std::vector<uint8_t> s = screen();
    font.drawText(s.data(), kScreenWidth, kScreenHeight, "AB", 3, 4);
    const uint8_t* p = pixelAt(s, 3, 4);
    EXPECT_EQ(p[0], 9);
    EXPECT_EQ(p[1], 9);
    EXPECT_EQ(p[2], 9);
    EXPECT_EQ(p[3], 0x11);
    EXPECT_EQ(pixelAt(s, 4, 4)[0], 0x11); // level 0 lets the background through
    EXPECT_EQ(pixelAt(s, 4, 5)[2], 255);
    // 'B' follows at x = 3 + 2.
    EXPECT_EQ(pixelAt(s, 5, 4)[0], 1);
    EXPECT_EQ(pixelAt(s, 7, 4)[1], 3);
    EXPECT_EQ(pixelAt(s, 8, 4)[0], 0x11);
}

TEST(BitmapFont, GlyphsThatDoNotFitAreSkippedWholeButAdvance) {
    const BitmapFont font = fontFrom(fontBytes({kA, kB}));
    struct Case {
        const char* text;
        int x, y;
        size_t litPixels; // pixels written in all
        int bx, by;       // where a drawn 'B' starts (its first level is 1)
    };
    const Case cases[] = {
        {"AB", -1, 0, 3, 1, 0},                 // 'A' starts left of the buffer
        {"AB", 0, -1, 0, -1, -1},               // both start above it
        {"AB", 0, kScreenHeight - 1, 3, 2, 15}, // 'A' crosses the bottom edge
        {"BAB", kScreenWidth - 4, 0, 3, 28, 0}, // 'A' and the second 'B' cross the right edge
        {"xB", 0, 0, 3, 10, 0},                 // no glyph: advance by 10
        {"\nB", 0, 0, 3, 10, 0},                // a line feed is only an advance
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
        std::vector<uint8_t> s = screen(0);
        font.drawText(s.data(), kScreenWidth, kScreenHeight, c.text, c.x, c.y);
        size_t lit = 0;
        for (size_t i = 0; i < s.size(); i += 4) lit += s[i] != 0;
        EXPECT_EQ(lit, c.litPixels);
        if (c.bx >= 0) {
            EXPECT_EQ(pixelAt(s, c.bx, c.by)[0], 1);
        }
    }
}

TEST(BitmapFont, PenDoesNotWrapOnVeryLongText) {
    const BitmapFont font = fontFrom(fontBytes({Record{'W', 255, 1, std::vector<uint8_t>(255, 7)}, kB}));
    // The pen passes INT_MAX after ten glyphs: held in an int it would overflow (undefined, and
    // trapped by the sanitizer build).
    std::string text(20, 'W');
    text += 'B';
    std::vector<uint8_t> s = screen(0);
    font.drawText(s.data(), kScreenWidth, kScreenHeight, text.c_str(), 2147483647 - 255 * 10, 0);
    EXPECT_EQ(s, screen(0));
}

TEST(BitmapFont, MakeTextImageIsExactlyAsLargeAsTheText) {
    const BitmapFont font = fontFrom(fontBytes({kA, kB}));
    bglimage* image = font.makeTextImage("AxB");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2 + 10 + 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->bits_per_pixel, 32);
    EXPECT_EQ(image->palette_size, 0);
    EXPECT_EQ(image->image[0], 9);
    EXPECT_EQ(image->image[4], 0); // transparent level over the black background
    EXPECT_EQ(image->image[12 * 4 + 2], 1);
    bgl_free_image(image);
}

// Text without glyphs has height 0: the picture must still be a valid, empty record.
TEST(BitmapFont, MakeTextImageOfTextWithoutGlyphsIsAValidEmptyPicture) {
    const BitmapFont font = fontFrom(fontBytes({kA}));
    for (const char* text : {"   ", ""}) {
        SCOPED_TRACE(std::string("'") + text + "'");
        bglimage* image = font.makeTextImage(text);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, 10 * std::strlen(text));
        EXPECT_EQ(image->height, 0);
        EXPECT_TRUE(image->image);
        bgl_free_image(image);
    }
    // Wider than a picture can be: no picture rather than a cut one.
    const std::string tooLong(70000, 'x');
    EXPECT_FALSE(font.makeTextImage(tooLong.c_str()));
}
