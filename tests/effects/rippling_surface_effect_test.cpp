#include <gtest/gtest.h>

#include <array>

#include "effects/rippling_surface_effect.h"
#include "grid_effect_fixture.h"

using namespace grid_effect_test;

namespace {

constexpr int kBlank = RipplingSurfaceEffect::kBlankLabel;

class RipplingSurfaceTest : public GridEffectTest {
protected:
    void SetUp() override {
        GridEffectTest::SetUp();
        texture = gridTexture();
        // Smaller than the screen: outside its area the spray reads as black (unmarked).
        spray = makePicture(
            160, 100, [](int x, int y) { return ((x / 10 + y / 10) % 2) ? makePixel(255, 128, 64) : 0u; });
        effect.build(texture.get(), spray.get());
        setTime(50.0f);
        effect.start();
    }
    std::array<int, 3> slotsAfter(int value) {
        sync(value);
        effect.render();
        return effect.slots;
    }
    OwnedPicture texture, spray;
    RipplingSurfaceEffect effect;
};

} // namespace

TEST_F(RipplingSurfaceTest, TenLabelEventsShowAndBlankPlacesInTurn) {
    effect.render();
    EXPECT_EQ(effect.slots, (std::array<int, 3>{kBlank, kBlank, kBlank}));
    const std::array<std::array<int, 3>, 10> expected = {{
        {0, kBlank, kBlank},
        {0, kBlank, kBlank},
        {0, 1, kBlank},
        {0, 1, kBlank},
        {0, 1, 2},
        {kBlank, 1, 2},
        {3, 1, 2},
        {3, kBlank, 2},
        {3, 4, 2},
        {3, 4, kBlank},
    }};
    for (int event = 0; event < 10; ++event)
        EXPECT_EQ(slotsAfter(240), expected[event]) << "event " << event + 1;

    // Another value leaves the labels alone, however often it is looked at.
    EXPECT_EQ(slotsAfter(3), expected[9]);
    effect.followSync();
    EXPECT_EQ(effect.slots, expected[9]);
    EXPECT_EQ(effect.events, 9);

    // A restart keeps what shows and begins the cycle again.
    setTime(800.0f);
    effect.start();
    EXPECT_EQ(effect.slots, expected[9]);
    EXPECT_EQ(slotsAfter(240), (std::array<int, 3>{0, 4, kBlank}));
}

TEST_F(RipplingSurfaceTest, AfterLabel20TheListStartsAgain) {
    for (int event = 0; event < 42; ++event) sync(240), effect.followSync();
    EXPECT_EQ(effect.events, 41);
    sync(240);
    effect.followSync();
    EXPECT_EQ(effect.slots[(effect.nextShown - 1) % 3], 0); // event 43 shows label 21 mod 21
}

TEST_F(RipplingSurfaceTest, TheMeshStaysBetweenZeroAndHalfAndTheSprayShadesByInverseGreen) {
    for (float c : {0.0f, 1234.0f, 98765.0f}) {
        effect.moveSurface(c);
        for (const GridVector& p : effect.surface->points) {
            ASSERT_GE(p.z, 0.0f);
            ASSERT_LE(p.z, 0.5001f); // |127 - 255| / 255.99
        }
    }
    effect.moveSurface(300.0f);
    std::vector<Pixel> lit(kScreenWidth * kScreenHeight, 0);
    effect.surface->drawLit(lit.data());
    std::vector<Pixel> frame(kScreenWidth * kScreenHeight, 0);
    effect.drawFrame(frame.data());
    auto at = [](const std::vector<Pixel>& v, int x, int y) { return v[y * kScreenWidth + x]; };
    const int m = 255 - greenOf(at(lit, 45, 15)); // (45, 15) is marked in the spray
    EXPECT_EQ(at(frame, 45, 15), makePixel((255 * m) >> 8, (128 * m) >> 8, (64 * m) >> 8));
    EXPECT_EQ(at(frame, 25, 15), at(lit, 25, 15));     // left of column 30 the spray is not drawn
    EXPECT_EQ(at(frame, 55, 15), at(lit, 55, 15));     // unmarked
    EXPECT_EQ(at(frame, 170, 150), at(lit, 170, 150)); // beyond the spray picture
}

TEST_F(RipplingSurfaceTest, StoredChecksumsOfFramesWithLabels) {
    std::vector<std::uint64_t> sums;
    for (int i = 0; i < 3; ++i) {
        sync(240);
        setTime(50.0f + 400.0f * i);
        effect.render();
        sums.push_back(checksum(screen()));
    }
    EXPECT_EQ(sums, (std::vector<std::uint64_t>{7148585290419670364ull, 5717476435035596655ull,
                                                10263183424759136336ull}));
}
