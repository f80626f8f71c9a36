// A 3D Studio scene as the generator describes it, and its writer to the .3ds chunk format.
//
// Everything is in the file's own terms: right-handed, z up, angles of rotation keys in
// radians, camera bank and roll in degrees, mapping v as the file stores it.
#pragma once

#include "forge/scene3ds/chunk_writer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SceneVec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct SceneColor {
    float r = 1.0f, g = 1.0f, b = 1.0f;
};

// Spline values of a key; a value is written only when its flag bit is set.
constexpr uint16_t kSplineTension = 0x01;
constexpr uint16_t kSplineContinuity = 0x02;
constexpr uint16_t kSplineBias = 0x04;
constexpr uint16_t kSplineEaseTo = 0x08;
constexpr uint16_t kSplineEaseFrom = 0x10;

struct SceneSpline {
    uint16_t flags = 0;
    float tension = 0.0f, continuity = 0.0f, bias = 0.0f, easeTo = 0.0f, easeFrom = 0.0f;
};

struct ScenePositionKey {
    uint32_t frame = 0;
    SceneVec3 value;
    SceneSpline spline;
};

// A rotation relative to the previous key: angle in radians about an axis.
struct SceneRotationKey {
    uint32_t frame = 0;
    float angle = 0.0f;
    SceneVec3 axis{0.0f, 0.0f, 1.0f};
    SceneSpline spline;
};

struct SceneRollKey {
    uint32_t frame = 0;
    float roll = 0.0f; // degrees
    SceneSpline spline;
};

struct SceneMaterial {
    std::string name;
    std::string textureName;           // empty: no texture map
    std::optional<int> reflectionBlur; // percentage; the engine takes it as the render type
};

struct SceneFace {
    uint16_t a = 0, b = 0, c = 0;
    uint16_t flags = 0x0007; // edge visibility bits as 3D Studio sets them
};

struct SceneMaterialGroup {
    std::string material;
    std::vector<uint16_t> faces;
};

struct SceneMapping {
    float u = 0.0f, v = 0.0f;
};

struct SceneMesh {
    std::string name;
    std::vector<SceneVec3> points;
    std::vector<SceneFace> faces;
    std::vector<SceneMaterialGroup> groups; // written inside the face array, as 3D Studio does
    std::vector<SceneMapping> mapping;      // empty: no mapping coordinates
    // The mesh's local axes: rows x, y, z axis and origin, 3 floats each. Absent: none written.
    std::optional<std::vector<float>> localAxes;
};

struct SceneLight {
    std::string name;
    SceneVec3 position;
    SceneColor color;
};

struct SceneCamera {
    std::string name;
    SceneVec3 position;
    SceneVec3 target;
    float bank = 0.0f; // degrees
    float lens = 50.0f;
};

enum class SceneNodeKind { Object, Camera, Target, Light };

// One keyframer node. Which tracks are written depends on the kind: objects get pivot,
// position and rotation; cameras position and roll; targets and lights position.
struct SceneNode {
    SceneNodeKind kind = SceneNodeKind::Object;
    std::string name;
    std::optional<uint16_t> nodeId; // written first when present
    uint16_t parent = 0xFFFF;       // no parent
    std::optional<SceneVec3> pivot;
    std::vector<ScenePositionKey> positions;
    std::vector<SceneRotationKey> rotations;
    std::vector<SceneRollKey> rolls;
};

struct Scene3ds {
    std::optional<std::pair<uint32_t, uint32_t>> segment; // first and last frame
    std::vector<SceneMaterial> materials;
    std::vector<SceneMesh> meshes;
    std::vector<SceneLight> lights;
    std::vector<SceneCamera> cameras;
    std::vector<SceneNode> nodes; // keyframer section written when there are nodes or a segment
};

// The whole file.
std::vector<uint8_t> write_3ds(const Scene3ds& scene);

// Writes the file; false with a message in *error when it cannot be written.
bool save_3ds(const std::string& path, const Scene3ds& scene, std::string* error);

// The pieces, for callers that lay out unusual files themselves.
void write_3ds_material(ChunkWriter& out, const SceneMaterial& material);
void write_3ds_mesh(ChunkWriter& out, const SceneMesh& mesh);
void write_3ds_light(ChunkWriter& out, const SceneLight& light);
void write_3ds_camera(ChunkWriter& out, const SceneCamera& camera);
void write_3ds_node(ChunkWriter& out, const SceneNode& node);
void write_3ds_node_header(ChunkWriter& out, const std::string& name, uint16_t parent);
void write_3ds_position_track(ChunkWriter& out, const std::vector<ScenePositionKey>& keys);
void write_3ds_rotation_track(ChunkWriter& out, const std::vector<SceneRotationKey>& keys);
void write_3ds_roll_track(ChunkWriter& out, const std::vector<SceneRollKey>& keys);
