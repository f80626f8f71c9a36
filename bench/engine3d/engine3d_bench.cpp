// Reading a scene and the per-frame animate + transform pass over a mesh of the size the
// show's scenes use.
#include "engine3d/keyframes.h"
#include "engine3d/read_3ds.h"
#include "engine3d/transform.h"
#include "engine3d/world_load.h"
#include "engine3d/world_memory.h"
#include "forge/scene3ds/scene_3ds.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kRings = 48;    // rows of the sphere's grid
constexpr int kSegments = 48; // columns

// A sphere of radius 10 at the origin, seen by a turning camera, with a moving object node.
Scene3ds sphere_scene() {
    Scene3ds s;
    SceneMesh m;
    m.name = "sphere";
    for (int r = 0; r <= kRings; ++r) {
        const float phi = kPi * float(r) / kRings;
        for (int c = 0; c < kSegments; ++c) {
            const float theta = 2.0f * kPi * float(c) / kSegments;
            m.points.push_back({10 * std::sin(phi) * std::cos(theta), 10 * std::sin(phi) * std::sin(theta),
                                10 * std::cos(phi)});
        }
    }
    for (int r = 0; r < kRings; ++r) {
        for (int c = 0; c < kSegments; ++c) {
            const uint16_t a = uint16_t(r * kSegments + c), b = uint16_t(r * kSegments + (c + 1) % kSegments);
            m.faces.push_back({a, uint16_t(a + kSegments), b});
            m.faces.push_back({b, uint16_t(a + kSegments), uint16_t(b + kSegments)});
        }
    }
    s.meshes = {m};
    s.cameras = {{"eye", {0, -40, 5}, {0, 0, 0}, 0, 50}};
    SceneNode node;
    node.name = "sphere";
    node.positions = {ScenePositionKey{0, {0, 0, 0}, {}}, ScenePositionKey{100, {5, 0, 0}, {}}};
    node.rotations = {SceneRotationKey{0, 0, {0, 0, 1}, {}}, SceneRotationKey{100, 3, {0, 0, 1}, {}}};
    SceneNode eye;
    eye.kind = SceneNodeKind::Camera;
    eye.name = "eye";
    eye.positions = {ScenePositionKey{0, {0, -40, 5}, {}}, ScenePositionKey{100, {30, -30, 5}, {}}};
    s.nodes = {node, eye};
    return s;
}

void BM_Read3ds(benchmark::State& state) {
    const std::vector<uint8_t> bytes = write_3ds(sphere_scene());
    for (auto _ : state) {
        World w{};
        benchmark::DoNotOptimize(read_3ds_memory(bytes.data(), bytes.size(), &w));
        world_free(&w);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_Read3ds);

void BM_AnimateAndTransform(benchmark::State& state) {
    const std::vector<uint8_t> bytes = write_3ds(sphere_scene());
    World w{};
    if (read_3ds_memory(bytes.data(), bytes.size(), &w) || world_setup(&w, 30000)) {
        state.SkipWithError("scene did not load");
        return;
    }
    int frame = 0;
    for (auto _ : state) {
        world_animate(&w, frame);
        world_transform(&w);
        frame = (frame + 1) % 100;
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * w.objects->point_count);
    world_free(&w);
}
BENCHMARK(BM_AnimateAndTransform);

} // namespace
