#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "effects/tunnel_effect.h"
#include "picture_effect_fixture.h"

using effect_test::PictureEffectTest;

namespace {

bool inRelief(int x, int y) {
    return x >= 20 && x < 100 && y >= 120 && y < 180;
}
bool inLogo(int x, int y, int logoX) {
    return x >= logoX && x < logoX + 60 && y >= 10 && y < 30;
}

std::string loadFailure(TunnelEffect& effect) {
    try {
        effect.load();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

} // namespace

TEST_F(PictureEffectTest, TunnelShiftsEveryLookup255TexelsPerFrame) {
    TunnelEffect effect;
    effect.load();
    // Dark flares add nothing, so the background shows through everywhere.
    std::fill(effect.flarePixels.begin(), effect.flarePixels.end(), 0u);
    effect.start();
    for (int n = 1; n <= 3; ++n) {
        effect.render();
        for (int y = 0; y < 200; y += 3) {
            for (int x = 0; x < 320; x += 3) {
                if (inRelief(x, y) || inLogo(x, y, 230)) continue;
                const int i = y * 320 + x;
                const unsigned texel = (effect.table[i] + 255u * n) & 0xFFFFu;
                ASSERT_EQ(pixelAt(x, y) & 0xFFFFFFu, effect.texture[texel])
                    << x << ", " << y << " frame " << n;
            }
        }
    }
    // The relief window carries its dark-blue frame.
    EXPECT_EQ(pixelAt(20, 120), 0xFF000080u);
    EXPECT_EQ(pixelAt(99, 179), 0xFF000080u);
}

TEST_F(PictureEffectTest, TunnelFramesWithFlaresAndTheSlidingLogo) {
    TunnelEffect effect;
    effect.load();
    effect.start();
    for (int n = 0; n < 40; ++n) effect.render();
    dump("tunnel_40");
    EXPECT_EQ(frameChecksum(), 0x55bbff21527c7267ull) << std::hex << frameChecksum();

    // A sync event of another value changes nothing and is looked at again next frame.
    syncCount.store(1);
    syncValue = 17;
    effect.render();
    EXPECT_EQ(effect.phase, 0);
    EXPECT_EQ(effect.logoSlide.seen(), 0);
    // Value 240 starts the slide: 6 pixels per hundredth, off the left edge after about 38.
    syncValue = 240;
    showTime = 100.0f;
    effect.render();
    EXPECT_EQ(effect.phase, 1);
    EXPECT_EQ(effect.phaseStartTime, 100);
    int x = 0;
    showTime = 110.0f;
    ASSERT_TRUE(effect.logoColumn(x));
    EXPECT_EQ(x, 170);
    effect.render();
    dump("tunnel_logo_sliding");
    showTime = 138.5f;
    ASSERT_TRUE(effect.logoColumn(x));
    EXPECT_EQ(x, -1);
    showTime = 1.0e12f; // a very long slide stays a valid, far-off column
    ASSERT_TRUE(effect.logoColumn(x));
    EXPECT_LT(x, -1000);
    // A second event hides the logo for good.
    showTime = 150.0f;
    syncCount.store(2);
    effect.render();
    EXPECT_EQ(effect.phase, 2);
    EXPECT_FALSE(effect.logoColumn(x));
}

// The table and the flare picture used to be read without looking at their sizes; a short file
// or a small picture must end the show with a message naming it.
TEST_F(PictureEffectTest, TunnelRefusesShortTablesAndSmallPictures) {
    TunnelEffect effect;
    effect_test::writeBytes("data/wormtab.dat", std::vector<std::uint8_t>(127999, 0));
    std::string failure = loadFailure(effect);
    EXPECT_NE(failure.find("data/wormtab.dat"), std::string::npos) << failure;
    EXPECT_NE(failure.find("shorter than 128000 bytes"), std::string::npos) << failure;

    writeContent();
    effect_test::writeJpeg("data/flare.jpg", 256, 200,
                           [](int, int, std::uint8_t rgb[3]) { rgb[0] = rgb[1] = rgb[2] = 9; });
    failure = loadFailure(effect);
    EXPECT_NE(failure.find("data/flare.jpg is 256x200 pixels"), std::string::npos) << failure;

    writeContent();
    std::filesystem::remove("data/orion.jpg");
    failure = loadFailure(effect);
    EXPECT_EQ(failure.rfind("BGL error!: ", 0), 0u) << failure;
}
