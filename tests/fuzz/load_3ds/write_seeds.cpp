// Writes the seed corpus of the scene-reader fuzz target: small scenes that between them use
// every chunk kind the reader keeps.
#include "forge/scene3ds/scene_3ds.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

SceneMesh square(const std::string& name) {
    SceneMesh m;
    m.name = name;
    m.points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    m.faces = {{0, 1, 2}, {0, 2, 3}};
    return m;
}

ScenePositionKey key(uint32_t frame, float x, float y, float z) {
    ScenePositionKey k;
    k.frame = frame;
    k.value = {x, y, z};
    return k;
}

Scene3ds full_scene() {
    Scene3ds s;
    s.segment = std::make_pair(0u, 100u);
    s.materials = {{"gold", "gold.jpg", 2}, {"plain", "", std::nullopt}};
    SceneMesh m = square("box");
    m.groups = {{"gold", {0}}, {"plain", {1}}};
    m.mapping = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m.localAxes = std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    s.meshes = {m};
    s.lights = {{"lamp", {5, 5, 5}, {1, 0.5f, 0.25f}}};
    s.cameras = {{"eye", {0, -10, 2}, {0, 0, 0}, 0, 50}};

    SceneNode box;
    box.name = "box";
    box.nodeId = 0;
    box.pivot = SceneVec3{0.5f, 0.5f, 0};
    box.positions = {key(0, 0, 0, 0), key(50, 1, 2, 3), key(100, 0, 0, 0)};
    box.positions[1].spline = {kSplineTension | kSplineContinuity | kSplineBias | kSplineEaseTo |
                                   kSplineEaseFrom,
                               0.1f,
                               0.2f,
                               0.3f,
                               0.4f,
                               0.5f};
    box.rotations = {SceneRotationKey{0, 0, {0, 0, 1}, {}}, SceneRotationKey{100, 3.0f, {0, 0, 1}, {}}};
    SceneNode eye;
    eye.kind = SceneNodeKind::Camera;
    eye.name = "eye";
    eye.nodeId = 1;
    eye.positions = {key(0, 0, -10, 2), key(100, 3, -8, 2)};
    eye.rolls = {SceneRollKey{0, 0, {}}, SceneRollKey{100, 45, {}}};
    SceneNode target;
    target.kind = SceneNodeKind::Target;
    target.name = "eye";
    target.positions = {key(0, 0, 0, 0)};
    SceneNode lamp;
    lamp.kind = SceneNodeKind::Light;
    lamp.name = "lamp";
    lamp.nodeId = 3;
    lamp.positions = {key(0, 5, 5, 5), key(20, 0, 5, 5)};
    s.nodes = {box, eye, target, lamp};
    return s;
}

Scene3ds mesh_only() {
    Scene3ds s;
    s.meshes = {square("a"), square("b")};
    return s;
}

bool write(const std::filesystem::path& dir, const char* name, const Scene3ds& scene) {
    std::string error;
    if (save_3ds((dir / name).string(), scene, &error)) return true;
    std::fprintf(stderr, "write_3ds_seeds: %s\n", error.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_3ds_seeds OUTDIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::remove_all(dir, ec); // start from the seeds alone, not last run's finds
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "write_3ds_seeds: cannot create %s: %s\n", argv[1], ec.message().c_str());
        return 1;
    }
    return write(dir, "full.3ds", full_scene()) && write(dir, "meshes.3ds", mesh_only()) ? 0 : 1;
}
