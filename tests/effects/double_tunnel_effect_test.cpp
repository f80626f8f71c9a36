#include <gtest/gtest.h>

#include "effects/double_tunnel_effect.h"
#include "grid_effect_fixture.h"

using namespace grid_effect_test;

namespace {

class DoubleTunnelTest : public GridEffectTest {
protected:
    void SetUp() override {
        GridEffectTest::SetUp();
        inner = gridTexture();
        outer = makePicture(256, 256, [](int x, int y) { return makePixel(y / 2, (x * y) & 127, 40); });
        effect.build(inner.get(), outer.get());
    }
    OwnedPicture inner, outer;
    DoubleTunnelEffect effect;
};

} // namespace

TEST_F(DoubleTunnelTest, BothCamerasStartAtTheOriginAndTheInnerOneMovesFaster) {
    setTime(321.75f);
    effect.start();
    EXPECT_EQ(effect.startTime, 321);
    setTime(321.0f);
    effect.render();
    for (TunnelGrid* grid : {effect.innerGrid.get(), effect.outerGrid.get()}) {
        EXPECT_EQ(grid->position.x, 0.0f);
        EXPECT_EQ(grid->position.z, 0.0f);
        EXPECT_EQ(grid->lights[0]->x, -100.0f);
        EXPECT_EQ(grid->lights[1]->x, 0.0f);
    }
    setTime(421.0f);
    effect.render();
    EXPECT_EQ(effect.innerGrid->position.z, 600.0f);
    EXPECT_EQ(effect.outerGrid->position.z, 400.0f);
    EXPECT_EQ(effect.outerGrid->angles[2], 0.0f);
    EXPECT_NE(effect.innerGrid->angles[2], 0.0f);
}

TEST_F(DoubleTunnelTest, StoredChecksumsOfFrames) {
    std::vector<std::uint64_t> sums;
    setTime(0.0f);
    effect.start();
    for (float t : {0.0f, 777.0f, 4321.5f}) {
        setTime(t);
        effect.render();
        sums.push_back(checksum(screen()));
    }
    EXPECT_EQ(sums, (std::vector<std::uint64_t>{9802569089889559223ull, 3273337873366983714ull,
                                                5358129872594725856ull}));
}
