#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "effects/metaball_scene.h"
#include "engine3d/metaball.h"
#include "scene3d_content.h"

using effect_test::PictureEffectTest;

namespace {

class MetaballSceneTest : public PictureEffectTest {
protected:
    void SetUp() override {
        PictureEffectTest::SetUp();
        effect_test::writeMetaballContent();
    }
    MetaballScene effect;
};

} // namespace

TEST_F(MetaballSceneTest, TheSceneMustHaveAnObject) {
    Scene3ds empty = forge::makeMetaballScene();
    empty.meshes.clear();
    empty.nodes.erase(empty.nodes.begin()); // the object's keyframer node
    effect_test::writeScene("nothing.3ds", empty);
    EXPECT_STREQ(effect.loadWorld("data/nothing.3ds"), kMsgNoSurfaceObject);
    EXPECT_EQ(effect.world.objects, nullptr);
    EXPECT_NE(effect.loadWorld("data/missing.3ds"), nullptr);
    EXPECT_EQ(effect.loadWorld("data/metaxp4.3ds"), nullptr);
}

TEST_F(MetaballSceneTest, TheFieldUsesTruncatedGridPositions) {
    effect.load();
    // Grid point (0, 0, 0) sits at (-12, -12, -12); its neighbour along x at -10.5 counts as -10.
    auto fixed = [](float x, float y, float z) {
        const float corners[8][3] = {{-5, -5, -5}, {5, -5, -5}, {5, 5, -5},  {5, -5, 5},
                                     {-5, 5, 5},   {-5, -5, 5}, {-5, 5, -5}, {5, 5, 5}};
        float sum = 0.0f;
        for (const auto& c : corners)
            sum += 3.0f /
                   ((x - c[0]) * (x - c[0]) + (y - c[1]) * (y - c[1]) + (z - c[2]) * (z - c[2]) + 0.0001f);
        return sum - 0.6f;
    };
    EXPECT_FLOAT_EQ(effect.staticField[0], fixed(-12, -12, -12));
    EXPECT_FLOAT_EQ(effect.staticField[1], fixed(-10, -12, -12));
    EXPECT_FLOAT_EQ(effect.staticField[metaball_grid_index(8, 9, 7)], fixed(0, 1, -1));

    effect.start();
    effect.updateScene(0.0f);
    // Limited from above only: near the charges 255, far from them below 0.
    float highest = -1000.0f, lowest = 1000.0f;
    for (const GridPoint& p : metaball_grid) {
        highest = std::max(highest, p.value);
        lowest = std::min(lowest, p.value);
    }
    EXPECT_EQ(highest, 255.0f);
    EXPECT_LT(lowest, -100.0f);
    EXPECT_GT(effect.world.objects->poly_count, 100);
}

TEST_F(MetaballSceneTest, TheExtraRotationBuildsUpPastTheRotationTrack) {
    effect.load();
    effect.start();
    const float* m = effect.world.objects->rotation_matrix;
    // Inside the track the keys set the orientation afresh every frame.
    effect.updateScene(600.0f);
    const std::vector<float> inside(m, m + 16);
    effect.updateScene(600.0f);
    EXPECT_EQ(std::vector<float>(m, m + 16), inside);
    // Past its last key the track leaves the matrix alone, and each frame turns it further.
    const float past = (forge::kMetaballRotationLastFrame + 50) * 6.0f;
    effect.updateScene(past);
    const std::vector<float> once(m, m + 16);
    effect.updateScene(past);
    EXPECT_NE(std::vector<float>(m, m + 16), once);
}

TEST_F(MetaballSceneTest, FramesOverTheBackgroundWithTheOverlay) {
    effect.load();
    showTime = 500.0f;
    effect.start();
    showTime = 740.0f;
    effect.render();
    dump("metaballs_240");
    EXPECT_EQ(frameChecksum(), 0x81990ca43428a925ull) << std::hex << frameChecksum();
    // The overlay's black is transparent; its discs cover the surface.
    EXPECT_EQ(pixelAt(255, 33) & 0xFFFFFFu, 0xC8B474u);
    EXPECT_NE(pixelAt(191, 33) & 0xFFFFFFu, 0u);
    showTime = 2740.0f;
    effect.render();
    dump("metaballs_2240");
    EXPECT_EQ(frameChecksum(), 0xcb183c84b19f2d7full) << std::hex << frameChecksum();
}
