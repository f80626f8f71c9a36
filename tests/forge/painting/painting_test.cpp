#include "forge/font/glyph_renderer.h"
#include "forge/pictures/noise.h"
#include "forge/pictures/palette_quantizer.h"
#include "forge/pictures/space_painter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

// Tileable textures rely on periodic noise repeating exactly, warp included.
TEST(Noise, PeriodicFieldsRepeatExactlyAndOthersDoNot) {
    const forge::Noise noise(7);
    for (float y : {0.3f, 1.7f, 3.25f})
        for (float x : {0.1f, 2.6f, 3.9f}) {
            // Equal up to the rounding of x + 4 in single precision.
            EXPECT_NEAR(noise.fbm(x, y, 4, 4), noise.fbm(x + 4, y, 4, 4), 1e-5);
            EXPECT_NEAR(noise.fbm(x, y, 4, 4), noise.fbm(x, y + 4, 4, 4), 1e-5);
            EXPECT_NEAR(noise.warped(x, y, 4, 2.0f, nullptr, nullptr, 4),
                        noise.warped(x + 4, y - 4, 4, 2.0f, nullptr, nullptr, 4), 1e-4);
        }
    int differing = 0;
    for (int i = 0; i < 16; ++i)
        differing += std::fabs(noise.fbm(i * 0.37f, 0.5f, 4) - noise.fbm(i * 0.37f + 4, 0.5f, 4)) > 1e-3f;
    EXPECT_GT(differing, 12);
    // Same seed, same field; another seed, another field.
    EXPECT_EQ(forge::Noise(7).gradient(1.3f, 2.7f), noise.gradient(1.3f, 2.7f));
    EXPECT_NE(forge::Noise(8).gradient(1.3f, 2.7f), noise.gradient(1.3f, 2.7f));
}

TEST(ToRgbBytes, KeepsBlackExactRollsHighlightsOffWithoutFlatClipping) {
    forge::Canvas canvas(6, 1);
    const float levels[] = {0.0f, -0.5f, 0.5f, 1.0f, 2.0f, 8.0f};
    for (int i = 0; i < 6; ++i) canvas.at(i, 0) = {levels[i], levels[i], levels[i]};
    const std::vector<uint8_t> bytes = forge::toRgbBytes(canvas);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[6], 128); // below the knee, unchanged
    EXPECT_LT(bytes[9], bytes[12]);
    EXPECT_LT(bytes[12], 255);
    EXPECT_LE(bytes[12], bytes[15]);
}

TEST(Quantize, ReservesEntryZeroForPureBlackAndKeepsFewColoursExact) {
    // Black, three colours, and one so dark it would round to black in a careless palette.
    const std::vector<uint8_t> rgb = {0, 0, 0, 255, 0, 0, 0, 255, 0, 10, 20, 200, 0, 0, 0, 1, 1, 0};
    const forge::IndexedPicture picture = forge::quantize(rgb);
    ASSERT_EQ(picture.indices.size(), 6u);
    EXPECT_EQ(picture.indices[0], 0);
    EXPECT_EQ(picture.indices[4], 0);
    EXPECT_EQ(picture.palette[0] | picture.palette[1] | picture.palette[2], 0);
    for (size_t i : {1u, 2u, 3u}) {
        ASSERT_NE(picture.indices[i], 0);
        const uint8_t* entry = &picture.palette[size_t(picture.indices[i]) * 3];
        EXPECT_EQ(entry[0], rgb[i * 3]);
        EXPECT_EQ(entry[1], rgb[i * 3 + 1]);
        EXPECT_EQ(entry[2], std::max<uint8_t>(rgb[i * 3 + 2], 1));
    }
    EXPECT_NE(picture.indices[5], 0) << "a non-black pixel must not become transparent";
}

TEST(Quantize, ManyColoursShareTheOtherEntriesClosely) {
    std::vector<uint8_t> rgb;
    for (int r = 0; r < 32; ++r)
        for (int g = 0; g < 32; ++g)
            rgb.insert(rgb.end(), {uint8_t(r * 8 + 4), uint8_t(g * 8 + 4), uint8_t(128)});
    const forge::IndexedPicture picture = forge::quantize(rgb);
    std::set<int> used(picture.indices.begin(), picture.indices.end());
    EXPECT_GT(used.size(), 200u);
    EXPECT_EQ(used.count(0), 0u);
    double error = 0;
    for (size_t i = 0; i < picture.indices.size(); ++i)
        for (int c = 0; c < 3; ++c)
            error += std::abs(int(rgb[i * 3 + size_t(c)]) -
                              int(picture.palette[size_t(picture.indices[i]) * 3 + size_t(c)]));
    EXPECT_LT(error / double(picture.indices.size()), 12.0);
}

TEST(GlyphRenderer, CellsShareOneBaselineAndLinesAreCroppedToInk) {
    forge::GlyphRenderer renderer;
    ASSERT_EQ(renderer.open(forge::kBoldFace), "");
    ASSERT_EQ(renderer.setPixelSize(20), "");
    std::vector<forge::GreyGlyph> cells;
    ASSERT_EQ(renderer.renderCells("Tgp.", &cells), "");
    ASSERT_EQ(cells.size(), 4u);
    for (const auto& cell : cells) EXPECT_EQ(cell.height, cells[0].height);
    // The descender of 'g' reaches lower rows than the bottom of 'T'.
    auto lowestInk = [](const forge::GreyGlyph& g) {
        int lowest = -1;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                if (g.levels[size_t(y) * g.width + x]) lowest = y;
        return lowest;
    };
    EXPECT_GT(lowestInk(cells[1]), lowestInk(cells[0]));
    EXPECT_EQ(lowestInk(cells[3]), lowestInk(cells[0])); // '.' sits on the baseline

    forge::GreyGlyph line;
    ASSERT_EQ(renderer.renderLine("zelka", &line), "");
    ASSERT_GT(line.width, 0);
    bool inkTop = false, inkLeft = false;
    for (int x = 0; x < line.width; ++x) inkTop |= line.levels[size_t(x)] != 0;
    for (int y = 0; y < line.height; ++y) inkLeft |= line.levels[size_t(y) * line.width] != 0;
    EXPECT_TRUE(inkTop && inkLeft);
    EXPECT_NE(renderer.open("/no/such/face.ttf"), "");
}
