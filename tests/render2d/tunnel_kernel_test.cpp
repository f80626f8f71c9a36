#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

#include "pixel_test_support.h"
#include "render2d/flare.h"
#include "render2d/tunnel_kernel.h"
#include "render2d/tunnel_table.h"

namespace {

// A texture whose texel t holds the value t, so a frame shows which texel each pixel read.
std::vector<Pixel> numberedTexture() {
    std::vector<Pixel> texture(kTextureTexels);
    for (int t = 0; t < kTextureTexels; ++t) texture[t] = static_cast<Pixel>(t);
    return texture;
}

std::string writeTemporary(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    // Named by process: other builds and worktrees run the same tests at the same time.
    const std::string path = ::testing::TempDir() + std::to_string(::getpid()) + "_" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

} // namespace

TEST(TunnelBackground, EachFrameMovesEveryLookup255TexelsWrappingAsAWhole) {
    std::vector<std::uint16_t> table(kScreenPixels);
    for (int i = 0; i < kScreenPixels; ++i) table[i] = static_cast<std::uint16_t>(i * 7919);
    table[0] = 65535;
    table[1] = 0;
    const std::vector<Pixel> texture = numberedTexture();
    Canvas screen(kScreenWidth, kScreenHeight, 0xAB000000u);
    for (unsigned frame = 1; frame <= 300; ++frame) {
        const unsigned offset = frame * kTunnelRowStep - frame * kTunnelTurnStep;
        drawTunnelBackground(screen.pixels.data(), table.data(), texture.data(), offset);
        for (int i = 0; i < kScreenPixels; i += 97)
            ASSERT_EQ(screen.pixels[i], 0xAB000000u | ((table[i] + 255u * frame) & 0xFFFFu)) << i;
        ASSERT_EQ(screen.pixels[0], 0xAB000000u | ((65535u + 255u * frame) & 0xFFFFu));
    }
}

// The eight-lookup pass must give the plain pass's pixels bit for bit: random entries, texels
// with their fourth byte set (never copied), and offsets past 65,536.
TEST(TunnelBackground, TheWidePassMatchesThePlainPass) {
    std::vector<std::uint16_t> table(kScreenPixels);
    std::vector<Pixel> texture(kTextureTexels);
    Canvas start(kScreenWidth, kScreenHeight);
    fillRandom(start, 3);
    unsigned seed = 1;
    for (auto& entry : table) entry = static_cast<std::uint16_t>(seed = seed * 1103515245u + 12345u);
    for (auto& texel : texture) texel = seed = seed * 1103515245u + 12345u;
    for (unsigned offset : {0u, 255u, 65535u, 65536u + 77u, 4000000000u}) {
        Canvas wide = start, plain = start;
        drawTunnelBackground(wide.pixels.data(), table.data(), texture.data(), offset);
        drawTunnelBackgroundPlain(plain.pixels.data(), table.data(), texture.data(), offset);
        ASSERT_EQ(wide.pixels, plain.pixels) << offset;
    }
}

// A short table file used to leave part of the table unread; it must be refused by name.
TEST(TunnelTable, ReadsLittleEndianEntriesAndRefusesShortFiles) {
    std::vector<std::uint8_t> bytes(kTunnelTableBytes + 10, 0);
    bytes[0] = 0x34;
    bytes[1] = 0x12;
    bytes[kTunnelTableBytes - 2] = 0xFF;
    bytes[kTunnelTableBytes - 1] = 0xFF;
    std::vector<std::uint16_t> table;
    const std::string longPath = writeTemporary("long_table.dat", bytes);
    EXPECT_EQ(readTunnelTable(longPath.c_str(), table), "");
    std::remove(longPath.c_str());
    ASSERT_EQ(table.size(), static_cast<size_t>(kScreenPixels));
    EXPECT_EQ(table[0], 0x1234);
    EXPECT_EQ(table[kScreenPixels - 1], 0xFFFF);

    bytes.resize(kTunnelTableBytes - 1);
    const std::string shortPath = writeTemporary("short_table.dat", bytes);
    const std::string problem = readTunnelTable(shortPath.c_str(), table);
    EXPECT_NE(problem.find(shortPath), std::string::npos) << problem;
    EXPECT_NE(problem.find("shorter than 128000 bytes"), std::string::npos) << problem;
    std::remove(shortPath.c_str());
    EXPECT_NE(readTunnelTable("no/such/wormtab.dat", table).find("could not open"), std::string::npos);
}

TEST(Flare, SunkPastTheMiddleItSitsCentredAndClippedLow) {
    std::vector<Pixel> picture(kFlareSide * kFlareSide, 0x00010101u);
    Canvas screen(kScreenWidth, kScreenHeight);
    Flare flare(300.0f, 1.0f, 60.0f, picture.data());
    flare.step(screen.pixels.data());
    // r = 0, depth 600, at (0, 60): columns 106 to 213, rows 71 to 135.
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const bool covered = x >= 106 && x <= 213 && y >= 71 && y <= 135;
            ASSERT_EQ(screen.at(x, y), covered ? 0x00010101u : 0u) << x << ", " << y;
        }
    }
    EXPECT_FLOAT_EQ(flare.sink, 70.1f);
    EXPECT_FLOAT_EQ(flare.angle, 1.2f);
}

TEST(Flare, ShrinksWhileSinkingAndWrapsPast100) {
    std::vector<Pixel> picture(kFlareSide * kFlareSide, 0x00010101u);
    // Angle 0: x = r, so the sprite's centre column shows the radius in use.
    Canvas screen(kScreenWidth, kScreenHeight);
    Flare flare(400.0f, 0.0f, 25.0f, picture.data());
    flare.step(screen.pixels.data());
    // Three quarters of 400 is 300; depth 600: columns from trunc(172 * 256 / 600) + 160 = 233.
    EXPECT_EQ(screen.at(232, 100), 0u);
    EXPECT_NE(screen.at(233, 100), 0u);

    Flare falling(300.0f, 0.0f, 95.0f, picture.data());
    falling.step(screen.pixels.data());
    EXPECT_FLOAT_EQ(falling.sink, -300.0f);
}

// The edges and the 8.8 step are truncated separately, so a sprite one column wider than it is
// high steps past the 256x256 picture on its last row (as at depth 254, (0, -40)); the picture
// here is exactly that size (the sanitizer build catches a read past it), and every size from
// tiny to larger than the screen is drawn.
TEST(Flare, TexelsStayInsideThePictureAtEveryDepth) {
    std::vector<Pixel> picture(kFlareSide * kFlareSide, 0x00010203u);
    Canvas screen(kScreenWidth, kScreenHeight);
    drawFlareSprite(screen.pixels.data(), picture.data(), 0, -40, 254, kScreenHeight);
    for (int depth = 1; depth < 1200; depth += 3)
        for (int x : {-300, -20, 0, 37, 250})
            drawFlareSprite(screen.pixels.data(), picture.data(), x, x / 3, depth, kScreenHeight);
    // Column 319 is never drawn, nor is anything at a depth of 0 or less.
    for (int y = 0; y < kScreenHeight; ++y) EXPECT_EQ(screen.at(319, y), 0u);
    Canvas untouched(kScreenWidth, kScreenHeight);
    drawFlareSprite(untouched.pixels.data(), picture.data(), 0, 0, 0, kScreenHeight);
    drawFlareSprite(untouched.pixels.data(), picture.data(), 0, 0, -5, kScreenHeight);
    for (Pixel p : untouched.pixels) ASSERT_EQ(p, 0u);
}
