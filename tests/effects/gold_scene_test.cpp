#include <gtest/gtest.h>

#include <vector>

#include "effects/gold_scene.h"
#include "effects/support/logo.h"
#include "engine3d/keyframes.h"
#include "engine3d/world_load.h"
#include "engine3d/world_memory.h"
#include "scene3d_content.h"

using effect_test::PictureEffectTest;

namespace {

class GoldSceneTest : public PictureEffectTest {
protected:
    void SetUp() override {
        PictureEffectTest::SetUp();
        effect_test::writeGoldContent();
        effect.load();
        effect.start();
    }

    // A sync event arrives with the given value.
    void sync(int value) {
        syncCount.store(syncCount.load() + 1);
        syncValue = value;
    }

    GoldScene effect;
};

} // namespace

TEST_F(GoldSceneTest, OnlySyncValue50MovesThePhaseOn) {
    sync(240);
    effect.render();
    EXPECT_EQ(effect.phase, 0);
    // The count moved with another value: it is looked at again, and 50 now counts.
    syncValue = 50;
    effect.render();
    EXPECT_EQ(effect.phase, 1);
    effect.render();
    EXPECT_EQ(effect.phase, 1);
    sync(50);
    effect.render();
    EXPECT_EQ(effect.phase, 2);

    // A restart begins again at the object on the tunnel, with the trails kept.
    const std::vector<Pixel> trails = effect.trailBuffer;
    effect.start();
    EXPECT_EQ(effect.phase, 0);
    EXPECT_EQ(effect.trailBuffer, trails);
}

TEST_F(GoldSceneTest, KeyFramesAdvanceOnePerThreeHundredths) {
    World reference{};
    world_load(&reference, "data/zelka2.3ds", 30000);
    showTime = 1000.0f;
    effect.start();
    for (float age : {0.0f, 2.9f, 3.0f, 100.5f, 2999.0f}) {
        showTime = 1000.0f + age;
        effect.render();
        world_animate(&reference, static_cast<int>(age / 3.0f));
        for (int i = 12; i < 15; ++i)
            EXPECT_FLOAT_EQ(effect.world.objects->position_matrix[i], reference.objects->position_matrix[i])
                << age;
    }
    world_free(&reference);
}

TEST_F(GoldSceneTest, TheObjectMovesToTheTrailLayerAndThenAway) {
    showTime = 120.0f;
    effect.render();
    dump("gold_phase0");
    const std::uint64_t onTunnel = frameChecksum();
    EXPECT_EQ(onTunnel, 0xe3eb46223afbc927ull) << std::hex << onTunnel;
    for (Pixel p : effect.trailBuffer) ASSERT_EQ(p, 0u);

    sync(50);
    for (int n = 0; n < 12; ++n) {
        showTime += 2.0f;
        effect.render();
    }
    dump("gold_trails");
    int lit = 0;
    for (Pixel p : effect.trailBuffer) lit += (p & 0xFFFFFFu) != 0;
    EXPECT_GT(lit, 320 * 200 / 10);
    EXPECT_EQ(frameChecksum(), 0xdbe1795fc61004deull) << std::hex << frameChecksum();

    // Without the object the frame is the tunnel and the logo alone.
    sync(50);
    showTime += 2.0f;
    effect.render();
    std::vector<Pixel> expected(320 * 200);
    effect.grid->drawLit(expected.data());
    logo.drawAdd(expected.data(), 10, 10);
    // (The tunnel leaves the fourth bytes as they were.)
    for (int i = 0; i < 320 * 200; ++i) ASSERT_EQ(frame()[i] & 0xFFFFFFu, expected[i] & 0xFFFFFFu) << i;
}
