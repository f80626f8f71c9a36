#include "forge/scenes/scene_files.h"

#include <cmath>

namespace forge {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr uint32_t kLightKeySpacing = 100;
constexpr uint32_t kRotationKeySpacing = 100;
// The camera looks along the file's +y (z is up) from this far away.
constexpr float kCameraDistance = 175.0f;

// A small tetrahedron: the carrier object's mesh as loaded, replaced by the surface at once.
SceneMesh carrierMesh() {
    SceneMesh mesh;
    mesh.name = "blob";
    mesh.points = {{0, 0, 10}, {10, 0, -5}, {-5, 9, -5}, {-5, -9, -5}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {1, 3, 2}};
    mesh.groups.push_back({"chrome", {0, 1, 2, 3}});
    return mesh;
}

struct OrbitingLight {
    const char* name;
    SceneColor color;
    float radius;
    float height;
    double turns; // over the whole segment
    double phase;
};

constexpr OrbitingLight kLights[] = {
    {"warm", {1.0f, 0.75f, 0.45f}, 140.0f, 60.0f, 3.0, 0.0},
    {"cold", {0.35f, 0.55f, 1.0f}, 120.0f, -40.0f, -2.0, 2.1},
    {"rim", {0.8f, 0.3f, 0.9f}, 160.0f, 20.0f, 1.5, 4.2},
};

SceneVec3 orbit(const OrbitingLight& l, uint32_t frame) {
    const double a = l.phase + kTwoPi * l.turns * frame / kMetaballSceneLastFrame;
    return {l.radius * float(std::cos(a)), l.radius * float(std::sin(a)), l.height};
}

} // namespace

Scene3ds makeMetaballScene() {
    Scene3ds scene;
    scene.segment = {0, kMetaballSceneLastFrame};
    scene.materials.push_back({"chrome", "", 2});
    scene.meshes.push_back(carrierMesh());
    scene.cameras.push_back({"eye", {0.0f, -kCameraDistance, 0.0f}, {0.0f, 0.0f, 0.0f}, 0.0f, 50.0f});

    SceneNode object;
    object.kind = SceneNodeKind::Object;
    object.name = "blob";
    object.nodeId = 0;
    object.pivot = SceneVec3{};
    object.positions.push_back({0, {0.0f, 0.0f, 0.0f}, {}});
    // A tumble that covers only the start of the segment; the effect's extra rotation takes
    // over after it.
    for (uint32_t frame = 0; frame <= kMetaballRotationLastFrame; frame += kRotationKeySpacing) {
        SceneRotationKey turn;
        turn.frame = frame;
        turn.angle = frame == 0 ? 0.0f : 0.8f;
        turn.axis = {0.3f, 1.0f, 0.2f};
        object.rotations.push_back(turn);
    }

    SceneNode eye;
    eye.kind = SceneNodeKind::Camera;
    eye.name = "eye";
    eye.nodeId = 1;
    eye.positions.push_back({0, {0.0f, -kCameraDistance, 10.0f}, {}});
    eye.positions.push_back({kMetaballSceneLastFrame / 2, {15.0f, -kCameraDistance + 10.0f, -5.0f}, {}});
    eye.positions.push_back({kMetaballSceneLastFrame, {0.0f, -kCameraDistance, 10.0f}, {}});
    SceneNode target;
    target.kind = SceneNodeKind::Target;
    target.name = "eye";
    target.nodeId = 2;
    target.positions.push_back({0, {0.0f, 0.0f, 0.0f}, {}});
    scene.nodes = {object, eye, target};

    uint16_t id = 3;
    for (const OrbitingLight& l : kLights) {
        scene.lights.push_back({l.name, orbit(l, 0), l.color});
        SceneNode node;
        node.kind = SceneNodeKind::Light;
        node.name = l.name;
        node.nodeId = id++;
        for (uint32_t frame = 0; frame <= kMetaballSceneLastFrame; frame += kLightKeySpacing)
            node.positions.push_back({frame, orbit(l, frame), {}});
        scene.nodes.push_back(node);
    }
    return scene;
}

std::string writeScenes(const std::string& outDir) {
    std::string error;
    if (!save_3ds(outDir + "/" + kGoldSceneFile, makeGoldScene(), &error)) return error;
    if (!save_3ds(outDir + "/" + kMetaballSceneFile, makeMetaballScene(), &error)) return error;
    return "";
}

} // namespace forge
