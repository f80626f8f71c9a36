#include "scene_fixtures.h"

#include "engine3d/keyframes.h"
#include "engine3d/quaternion.h"
#include "engine3d/world_load.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTolerance = 1e-4f;

// Reads and sets up a scene of one square mesh "box" with the given node, plus the cameras.
void load_box(World* world, SceneNode node, std::vector<SceneCamera> cameras = {},
              std::vector<SceneNode> more = {}) {
    Scene3ds s;
    s.meshes = {square_mesh("box")};
    s.cameras = std::move(cameras);
    s.nodes = {std::move(node)};
    for (SceneNode& n : more) s.nodes.push_back(std::move(n));
    ASSERT_EQ(read_scene(s, world), nullptr);
    ASSERT_EQ(world_setup(world, 64), nullptr);
}

float translation_x(const World& w) {
    return w.objects->position_matrix[12];
}

TEST(Keyframes, PositionTrackInterpolatesBetweenKeysOnly) {
    OwnedWorld w;
    load_box(w.get(), object_node("box", {position_key(0, 0, 0, 0), position_key(10, 10, 0, 0)}));
    world_animate(w.get(), 5);
    EXPECT_NEAR(translation_x(w.w), 5.0f, kTolerance);
    world_animate(w.get(), 0);
    EXPECT_NEAR(translation_x(w.w), 0.0f, kTolerance);
    world_animate(w.get(), 9);
    EXPECT_NEAR(translation_x(w.w), 9.0f, kTolerance);
    // From the last key's frame on the track writes nothing: the value of frame 9 stays.
    world_animate(w.get(), 10);
    EXPECT_NEAR(translation_x(w.w), 9.0f, kTolerance);
    world_animate(w.get(), 400);
    EXPECT_NEAR(translation_x(w.w), 9.0f, kTolerance);
    // Only the low 16 bits of the frame take part.
    world_animate(w.get(), 65536 + 5);
    EXPECT_NEAR(translation_x(w.w), 5.0f, kTolerance);
}

TEST(Keyframes, FrameBeforeTheFirstKeyKeepsTheLoadedValue) {
    OwnedWorld w;
    // File y becomes engine z.
    load_box(w.get(), object_node("box", {position_key(10, 1, 2, 3), position_key(20, 4, 5, 6)}));
    EXPECT_EQ(w->objects->position_matrix[12], 1.0f);
    EXPECT_EQ(w->objects->position_matrix[13], 3.0f);
    EXPECT_EQ(w->objects->position_matrix[14], 2.0f);
    world_animate(w.get(), 3);
    EXPECT_EQ(w->objects->position_matrix[12], 1.0f);
}

TEST(Keyframes, ThreeKeyLinearTrackStaysLinear) {
    OwnedWorld w;
    load_box(w.get(), object_node("box", {position_key(0, 0, 0, 0), position_key(10, 10, 0, 0),
                                          position_key(20, 20, 0, 0)}));
    const PositionKey* k = w->objects->position_keys;
    EXPECT_NEAR(k[0].out_tangent.x, 10.0f, kTolerance);
    EXPECT_NEAR(k[1].in_tangent.x, 10.0f, kTolerance);
    EXPECT_NEAR(k[1].out_tangent.x, 10.0f, kTolerance);
    EXPECT_NEAR(k[2].in_tangent.x, 10.0f, kTolerance);
    world_animate(w.get(), 15);
    EXPECT_NEAR(translation_x(w.w), 15.0f, kTolerance);
}

// Keys sharing a frame would divide by zero in the tangent rules.
TEST(Keyframes, KeysOnOneFrameGiveZeroTangentsNotNaN) {
    OwnedWorld w;
    load_box(w.get(), object_node("box", {position_key(4, 0, 0, 0), position_key(4, 10, 0, 0)}),
             {{"eye", {0, -10, 0}, {0, 0, 0}, 0, 50}},
             {track_node(SceneNodeKind::Target, "eye",
                         {position_key(0, 0, 0, 0), position_key(0, 1, 0, 0), position_key(0, 2, 0, 0)})});
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(w->objects->position_keys[i].in_tangent.x, 0.0f);
        EXPECT_EQ(w->objects->position_keys[i].out_tangent.x, 0.0f);
    }
    for (int i = 0; i < 3; ++i) {
        const PositionKey& k = w->cameras->target_keys[i];
        EXPECT_FALSE(std::isnan(k.in_tangent.x) || std::isnan(k.out_tangent.x)) << i;
    }
    world_animate(w.get(), 4);
    EXPECT_FALSE(std::isnan(translation_x(w.w)));
}

TEST(Keyframes, Ease) {
    EXPECT_EQ(ease(0.3f, 0.0f, 0.0f), 0.3f);
    EXPECT_NEAR(ease(0.25f, 1.0f, 0.0f), 0.0625f, 1e-6f);
    // Ease values summing to 2 are halved: a = b = 0.5, k = 1.
    EXPECT_NEAR(ease(0.25f, 1.0f, 1.0f), 0.125f, 1e-6f);
    EXPECT_NEAR(ease(0.75f, 1.0f, 1.0f), 0.875f, 1e-6f);
    EXPECT_NEAR(ease(0.5f, 0.25f, 0.25f), 0.5f, 1e-6f);
}

TEST(Keyframes, QuaternionsFromAxisAngleAndProduct) {
    const Quaternion q = quaternion_from_axis_angle(0, 1, 0, kPi / 2);
    EXPECT_NEAR(q.x, 0.0f, 1e-6f);
    EXPECT_NEAR(q.y, 0.7071068f, 1e-6f);
    EXPECT_NEAR(q.w, 0.7071068f, 1e-6f);
    const Quaternion half = quaternion_multiply(q, q);
    EXPECT_NEAR(half.y, 1.0f, 1e-6f);
    EXPECT_NEAR(half.w, 0.0f, 1e-6f);
    // Order matters for different axes: i*j = k, j*i = -k.
    const Quaternion i{1, 0, 0, 0}, j{0, 1, 0, 0};
    EXPECT_EQ(quaternion_multiply(i, j).z, 1.0f);
    EXPECT_EQ(quaternion_multiply(j, i).z, -1.0f);
}

TEST(Keyframes, SlerpTakesTheShorterWayAndMixesNearlyEqualOnesLinearly) {
    const Quaternion identity{0, 0, 0, 1};
    const Quaternion quarter = quaternion_from_axis_angle(0, 1, 0, kPi / 2);
    const Quaternion negated{-quarter.x, -quarter.y, -quarter.z, -quarter.w};
    // Halfway to the negated quarter turn is an eighth turn the same way, not the long way round.
    const Quaternion eighth = quaternion_slerp(0.5f, identity, negated);
    EXPECT_NEAR(eighth.y, 0.3826834f, 1e-5f);
    EXPECT_NEAR(eighth.w, 0.9238795f, 1e-5f);
    // A quaternion and its own negation: the same orientation, so q comes back.
    const Quaternion same = quaternion_slerp(0.5f, quarter, negated);
    EXPECT_NEAR(same.y, quarter.y, 1e-6f);
    EXPECT_NEAR(same.w, quarter.w, 1e-6f);
    const Quaternion nearly{0, 2e-4f, 0, 1};
    const Quaternion mixed = quaternion_slerp(0.25f, identity, nearly);
    EXPECT_NEAR(mixed.y, 0.5e-4f, 1e-9f);
    EXPECT_NEAR(mixed.w, 1.0f, 1e-9f);
}

TEST(Keyframes, QuaternionToMatrixIsARowVectorRotation) {
    float m[9];
    quaternion_to_matrix(quaternion_from_axis_angle(0, 0, 1, kPi / 2), m);
    // A quarter turn about z takes x to y for row vectors: row 0 is the image of x.
    EXPECT_NEAR(m[0], 0.0f, 1e-6f);
    EXPECT_NEAR(m[1], 1.0f, 1e-6f);
    EXPECT_NEAR(m[3], -1.0f, 1e-6f);
    quaternion_to_matrix(Quaternion{0, 0, 0, 0}, m);
    for (float v : m) EXPECT_FALSE(std::isnan(v));
}

TEST(Keyframes, RelativeRotationKeysAccumulate) {
    SceneNode node = object_node("box", {position_key(0, 0, 0, 0)});
    // Quarter turns about the file's z axis, the engine's y axis.
    node.rotations = {SceneRotationKey{0, kPi / 2, {0, 0, 1}, {}},
                      SceneRotationKey{10, kPi / 2, {0, 0, 1}, {}}};
    OwnedWorld w;
    load_box(w.get(), node);
    const RotationKey* k = w->objects->rotation_keys;
    EXPECT_NEAR(k[0].y, 0.7071068f, 1e-6f);
    EXPECT_NEAR(k[0].w, 0.7071068f, 1e-6f);
    EXPECT_NEAR(k[1].y, 1.0f, 1e-6f); // a half turn
    EXPECT_NEAR(k[1].w, 0.0f, 1e-6f);
    world_animate(w.get(), 5);
    // Halfway: three eighths of a turn about y.
    const float* m = w->objects->rotation_matrix;
    EXPECT_NEAR(m[0], std::cos(3 * kPi / 4), 1e-5f);
    EXPECT_NEAR(m[2], -std::sin(3 * kPi / 4), 1e-5f);
    EXPECT_NEAR(m[5], 1.0f, 1e-5f);
    EXPECT_EQ(m[15], 1.0f);
}

TEST(Keyframes, CameraRollInRadiansAndLoadedBankConverted) {
    SceneNode camera = track_node(SceneNodeKind::Camera, "eye", {position_key(0, 0, -10, 0)});
    camera.rolls = {SceneRollKey{0, 0.0f, {}}, SceneRollKey{10, 90.0f, {}}};
    OwnedWorld w;
    load_box(w.get(), object_node("box", {}),
             {{"eye", {0, -10, 0}, {0, 0, 0}, 0, 50}, {"other", {0, -10, 0}, {0, 0, 0}, 90.0f, 50}},
             {camera});
    world_animate(w.get(), 5);
    EXPECT_NEAR(w->cameras->bank, 0.7853982f, 1e-5f);
    // A camera without roll keys keeps its loaded bank, now in radians.
    EXPECT_NEAR(w->cameras->next->bank, kPi / 2, 1e-5f);
}

} // namespace
