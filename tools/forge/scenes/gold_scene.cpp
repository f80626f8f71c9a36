#include "forge/scenes/knot_tube.h"
#include "forge/scenes/scene_files.h"

#include <cmath>

namespace forge {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr uint32_t kKeySpacing = 60; // frames between keys
// The camera looks along the file's +y (z is up) from this far away.
constexpr float kCameraDistance = 300.0f;

SceneVec3 wobble(double phase, float x, float y, float z) {
    return {x * float(std::sin(phase)), y * float(std::sin(phase * 0.7 + 1.0)),
            z * float(std::cos(phase * 0.5))};
}

} // namespace

Scene3ds makeGoldScene() {
    Scene3ds scene;
    scene.segment = {0, kGoldSceneLastFrame};
    // Environment-mapped; no texture of its own, so the effect's gold map shows.
    scene.materials.push_back({"gold", "", 2});

    SceneMesh knot = makeKnotTube("knot", KnotTube{});
    SceneMaterialGroup group{"gold", {}};
    for (size_t i = 0; i < knot.faces.size(); ++i) group.faces.push_back(uint16_t(i));
    knot.groups.push_back(group);
    scene.meshes.push_back(knot);

    scene.cameras.push_back({"eye", {0.0f, -kCameraDistance, 0.0f}, {0.0f, 0.0f, 0.0f}, 0.0f, 50.0f});

    SceneNode object;
    object.kind = SceneNodeKind::Object;
    object.name = "knot";
    object.nodeId = 0;
    object.pivot = SceneVec3{};
    SceneNode eye;
    eye.kind = SceneNodeKind::Camera;
    eye.name = "eye";
    eye.nodeId = 1;
    SceneNode target;
    target.kind = SceneNodeKind::Target;
    target.name = "eye";
    target.nodeId = 2;

    for (uint32_t frame = 0; frame <= kGoldSceneLastFrame; frame += kKeySpacing) {
        const double phase = kTwoPi * frame / kGoldSceneLastFrame;
        // The knot drifts a little about the centre and tumbles about a slowly changing axis,
        // a good half turn every key (less than a half turn, so each step turns the short way).
        object.positions.push_back({frame, wobble(phase * 3.0, 12.0f, 25.0f, 10.0f), {}});
        SceneRotationKey turn;
        turn.frame = frame;
        turn.angle = frame == 0 ? 0.0f : 0.55f;
        turn.axis = {float(std::sin(phase * 2.0) * 0.5), float(std::cos(phase * 1.3) * 0.4), 1.0f};
        object.rotations.push_back(turn);
        // The camera sways around its line of sight and breathes in and out.
        const SceneVec3 sway = wobble(phase * 2.0, 30.0f, 40.0f, 20.0f);
        eye.positions.push_back({frame, {sway.x, -kCameraDistance + sway.y, sway.z}, {}});
        target.positions.push_back({frame, wobble(phase * 5.0, 6.0f, 0.0f, 5.0f), {}});
    }
    eye.rolls.push_back({0, 0.0f, {}});
    eye.rolls.push_back({kGoldSceneLastFrame / 2, 12.0f, {}});
    eye.rolls.push_back({kGoldSceneLastFrame, -6.0f, {}});
    scene.nodes = {object, eye, target};
    return scene;
}

} // namespace forge
