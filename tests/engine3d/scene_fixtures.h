// Scenes for the engine's tests, written with the generator's .3ds writer.
#pragma once

#include "engine3d/read_3ds.h"
#include "engine3d/world_memory.h"
#include "forge/scene3ds/scene_3ds.h"

#include <cmath>
#include <string>
#include <vector>

// A world that releases itself, so that a failing test leaks nothing.
struct OwnedWorld {
    World w{};
    OwnedWorld() = default;
    OwnedWorld(const OwnedWorld&) = delete;
    OwnedWorld& operator=(const OwnedWorld&) = delete;
    ~OwnedWorld() { world_free(&w); }
    World* operator->() { return &w; }
    World* get() { return &w; }
};

inline EngineError read_bytes(const std::vector<uint8_t>& bytes, World* world) {
    return read_3ds_memory(bytes.data(), bytes.size(), world);
}

inline EngineError read_scene(const Scene3ds& scene, World* world) {
    return read_bytes(write_3ds(scene), world);
}

// A two-triangle square in the file's x-y plane (z up) with the given name.
inline SceneMesh square_mesh(const std::string& name) {
    SceneMesh m;
    m.name = name;
    m.points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    m.faces = {{0, 1, 2}, {0, 2, 3}};
    return m;
}

inline ScenePositionKey position_key(uint32_t frame, float x, float y, float z) {
    ScenePositionKey k;
    k.frame = frame;
    k.value = {x, y, z};
    return k;
}

inline SceneNode object_node(const std::string& name, std::vector<ScenePositionKey> positions) {
    SceneNode n;
    n.kind = SceneNodeKind::Object;
    n.name = name;
    n.nodeId = 0;
    n.positions = std::move(positions);
    n.rotations = {SceneRotationKey{}};
    return n;
}

inline SceneNode track_node(SceneNodeKind kind, const std::string& name,
                            std::vector<ScenePositionKey> positions) {
    SceneNode n;
    n.kind = kind;
    n.name = name;
    n.nodeId = 1;
    n.positions = std::move(positions);
    return n;
}

// Every chunk kind the reader keeps, as the writer lays them out.
inline Scene3ds full_scene() {
    Scene3ds s;
    s.segment = std::make_pair(0u, 70000u);
    s.materials = {{"gold", "gold.jpg", 4}, {"plain", "", std::nullopt}};

    SceneMesh cube = square_mesh("cube");
    cube.groups = {{"gold", {1}}, {"plain", {0}}};
    cube.mapping = {{0.25f, 0.75f}, {1, 0}, {1, 1}, {0, 1}};
    cube.localAxes = std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1, 5, 6, 7};
    s.meshes = {cube, square_mesh("a name much longer than nineteen")};

    s.lights = {{"lamp", {1, 2, 3}, {0.5f, 0.25f, 1.0f}}};
    s.cameras = {{"eye", {0, -10, 0}, {0, 0, 0}, 30.0f, 35.0f}};

    SceneNode cubeNode = object_node("cube", {position_key(0, 1, 2, 3), position_key(70000, 4, 5, 6)});
    cubeNode.pivot = SceneVec3{0.5f, 0.25f, 0.125f};
    cubeNode.positions[1].spline = {kSplineTension | kSplineBias, 0.5f, 0.0f, -0.25f, 0.0f, 0.0f};
    cubeNode.rotations = {
        SceneRotationKey{0, 1.5f, {0, 0, 1}, {}},
        SceneRotationKey{10, 0.5f, {1, 0, 0}, {kSplineEaseTo | kSplineEaseFrom, 0, 0, 0, 1, 1}}};
    SceneNode longNode = object_node("a name much longer than nineteen", {position_key(0, 0, 0, 0)});
    longNode.nodeId.reset(); // a node without its id chunk

    SceneNode cameraNode = track_node(SceneNodeKind::Camera, "eye", {position_key(0, 0, -10, 0)});
    cameraNode.rolls = {SceneRollKey{0, 0.0f, {}},
                        SceneRollKey{10, 90.0f, {kSplineContinuity, 0, 0.5f, 0, 0, 0}}};
    SceneNode targetNode =
        track_node(SceneNodeKind::Target, "eye", {position_key(0, 0, 0, 0), position_key(5, 1, 0, 0)});
    targetNode.nodeId.reset();
    SceneNode lightNode = track_node(SceneNodeKind::Light, "lamp", {position_key(3, 7, 8, 9)});
    s.nodes = {cubeNode, longNode, cameraNode, targetNode, lightNode};
    return s;
}

// Builds a file by hand: a main chunk around an editor chunk whose body the caller writes.
template <class Body> std::vector<uint8_t> editor_file(Body body) {
    ChunkWriter out;
    out.begin(0x4D4D);
    out.begin(0x3D3D);
    body(out);
    out.end();
    out.end();
    return out.bytes();
}

// The same around a keyframer chunk, after an editor with the given scene's records.
template <class Body> std::vector<uint8_t> keyframer_file(const Scene3ds& editor, Body body) {
    ChunkWriter out;
    out.begin(0x4D4D);
    out.begin(0x3D3D);
    for (const SceneMaterial& m : editor.materials) write_3ds_material(out, m);
    for (const SceneMesh& m : editor.meshes) write_3ds_mesh(out, m);
    for (const SceneLight& l : editor.lights) write_3ds_light(out, l);
    for (const SceneCamera& c : editor.cameras) write_3ds_camera(out, c);
    out.end();
    out.begin(0xB000);
    body(out);
    out.end();
    out.end();
    return out.bytes();
}
