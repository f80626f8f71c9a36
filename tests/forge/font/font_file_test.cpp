#include "forge/font/font_file.h"
#include "forge/test_files.h"
#include "resources/bitmap_font.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(FontFile, HoldsEveryCharacterInOneCellHeightSizedForTheShow) {
    std::vector<uint8_t> file;
    ASSERT_EQ(forge::makeFontFile(&file), "");
    BitmapFont font;
    font.loadFromBytes(file.data(), file.size());

    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(font.headerBlock[size_t(i) * 3 + 1], i) << "grey ramp entry " << i;

    const int cellHeight = font.glyphs['A'] ? font.glyphs['A']->height : 0;
    EXPECT_GT(cellHeight, 16);
    EXPECT_LE(cellHeight, forge::kFontMaxGlyphHeight);
    for (const char* c = forge::kFontCharacters; *c; ++c) {
        SCOPED_TRACE(std::string("character ") + *c);
        const Glyph* glyph = font.glyphs[static_cast<unsigned char>(*c)].get();
        ASSERT_TRUE(glyph);
        EXPECT_EQ(glyph->height, cellHeight); // one baseline for top-aligned drawing
        EXPECT_GT(glyph->width, 0);
        bool inked = false;
        for (uint8_t level : glyph->pixels) inked |= level != 0;
        EXPECT_EQ(inked, *c != ' ');
    }

    // The title fits the loading card at x = 8, the longest credit line at x = 8 of the screen.
    int titleWidth = 0;
    for (const char* c = forge::kFontSizingText; *c; ++c) titleWidth += font.glyphs[uint8_t(*c)]->width;
    EXPECT_LE(titleWidth, forge::kFontMaxTextWidth);
    EXPECT_GT(titleWidth, forge::kFontMaxTextWidth * 3 / 4);
    std::vector<uint8_t> card(320 * 200 * 4, 0);
    font.drawText(card.data(), 320, 200, "HALCYONVECTRUM", 8, 110);
    font.drawText(card.data(), 320, 200, "[GRAPHICS]", 8, 160);
    EXPECT_NE(card[(size_t(110 + cellHeight / 2) * 320 + 312 - 12) * 4], 0u); // the final 'M' is drawn
}

TEST(FontFile, BuildWroteTheSameBytes) {
    std::vector<uint8_t> file;
    ASSERT_EQ(forge::makeFontFile(&file), "");
    EXPECT_EQ(forge_test::readFile(forge_test::kDataDir + "/rel2.aff"), file);
}
