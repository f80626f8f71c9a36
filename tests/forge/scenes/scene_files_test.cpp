// The two generated scenes, read back with the engine's own reader.
#include "engine3d/keyframes.h"
#include "engine3d/read_3ds.h"
#include "engine3d/transform.h"
#include "engine3d/world_load.h"
#include "engine3d/world_memory.h"
#include "forge/scenes/scene_files.h"
#include "forge/test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <utility>

namespace {

struct LoadedWorld {
    World w{};
    ~LoadedWorld() { world_free(&w); }
};

// Loads a generated scene through a file of this process's own.
void loadScene(const Scene3ds& scene, int buckets, LoadedWorld* world) {
    const std::string path = forge_test::scratchPath(::testing::TempDir(), "scene.3ds");
    std::string error;
    ASSERT_TRUE(save_3ds(path, scene, &error)) << error;
    EXPECT_EQ(world_try_load(&world->w, path.c_str(), buckets), nullptr);
    std::remove(path.c_str());
}

int lastKeyFrame(const PositionKey* keys, int count) {
    return count > 0 ? keys[count - 1].frame : -1;
}

} // namespace

TEST(SceneFiles, TheGoldKnotIsAClosedMeshTurningForLong) {
    LoadedWorld world;
    loadScene(forge::makeGoldScene(), 30000, &world);
    const Object* knot = world.w.objects;
    ASSERT_NE(knot, nullptr);
    EXPECT_EQ(knot->next, nullptr);
    EXPECT_GE(knot->poly_count, 1500);
    EXPECT_LE(knot->poly_count, 4000);
    // Closed: every side of every face is shared by exactly one other face, running the other way.
    std::map<std::pair<const Point*, const Point*>, int> sides;
    for (int32_t i = 0; i < knot->poly_count; ++i) {
        const Poly& p = knot->polys[i];
        ++sides[{p.a, p.b}];
        ++sides[{p.b, p.c}];
        ++sides[{p.c, p.a}];
    }
    for (const auto& [side, count] : sides) {
        ASSERT_EQ(count, 1);
        ASSERT_EQ(sides.count({side.second, side.first}), 1u);
    }
    // Turning for at least 900 key frames, with a camera that has position and target tracks.
    EXPECT_GE(lastKeyFrame(knot->position_keys, knot->position_key_count), 900);
    ASSERT_GE(knot->rotation_key_count, 2);
    EXPECT_GE(knot->rotation_keys[knot->rotation_key_count - 1].frame, 900);
    const Camera* eye = world.w.current_camera;
    ASSERT_NE(eye, nullptr);
    EXPECT_GE(lastKeyFrame(eye->position_keys, eye->position_key_count), 900);
    EXPECT_GE(lastKeyFrame(eye->target_keys, eye->target_key_count), 900);
    // The gold map shows: the material has no texture of its own.
    ASSERT_NE(world.w.materials, nullptr);
    EXPECT_EQ(world.w.materials->texture_name, nullptr);
}

TEST(SceneFiles, TheKnotFacesTheCameraAndStaysInView) {
    LoadedWorld world;
    loadScene(forge::makeGoldScene(), 30000, &world);
    Object* knot = world.w.objects;
    for (int frame = 0; frame <= int(forge::kGoldSceneLastFrame); frame += 150) {
        world_animate(&world.w, frame);
        world_transform(&world.w);
        ASSERT_EQ(knot->visible, 1) << frame;
        int drawn = 0, facing = 0;
        for (int32_t i = 0; i < knot->poly_count; ++i) {
            const Poly& p = knot->polys[i];
            if (p.hidden) continue;
            ++drawn;
            // Drawn faces turn their outward normals towards the eye.
            facing += p.a->normal->vz + p.b->normal->vz + p.c->normal->vz < 0.0f;
            for (const Point* c : {p.a, p.b, p.c}) {
                EXPECT_GT(c->sx, 0) << frame;
                EXPECT_LT(c->sx, 320) << frame;
                EXPECT_GT(c->sy, 0) << frame;
                EXPECT_LT(c->sy, 200) << frame;
            }
        }
        EXPECT_GT(drawn, knot->poly_count / 4) << frame;
        EXPECT_GT(facing, drawn * 9 / 10) << frame;
    }
}

TEST(SceneFiles, TheMetaballStageHasACarrierCameraAndMovingLights) {
    LoadedWorld world;
    loadScene(forge::makeMetaballScene(), 20000, &world);
    const Object* blob = world.w.objects;
    ASSERT_NE(blob, nullptr);
    ASSERT_GE(blob->rotation_key_count, 2);
    // The rotation track ends well before the segment does.
    EXPECT_LT(blob->rotation_keys[blob->rotation_key_count - 1].frame, world.w.last_frame / 2);
    EXPECT_NE(world.w.current_camera, nullptr);
    int lights = 0;
    for (const Light* l = world.w.lights; l; l = l->next) {
        ++lights;
        EXPECT_GE(l->position_key_count, 2);
    }
    EXPECT_GE(lights, 2);
    EXPECT_LE(lights, 3);
}

TEST(SceneFiles, TheBuildWritesBothScenes) {
    for (const char* name : {forge::kGoldSceneFile, forge::kMetaballSceneFile}) {
        const std::vector<uint8_t> bytes = forge_test::readFile(forge_test::kDataDir + "/" + name);
        ASSERT_FALSE(bytes.empty()) << name;
        World w{};
        EXPECT_EQ(read_3ds_memory(bytes.data(), bytes.size(), &w), nullptr) << name;
        world_free(&w);
    }
}
