#include "forge/scene3ds/scene_3ds.h"

#include "engine3d/chunk_ids_3ds.h"

#include <fstream>

namespace {

constexpr uint32_t kFileVersion = 3;
constexpr uint16_t kTextureStrength = 100; // percent
constexpr uint16_t kKeyframerRevision = 5;

void write_vec3(ChunkWriter& out, const SceneVec3& v) {
    out.f32(v.x);
    out.f32(v.y);
    out.f32(v.z);
}

void write_percentage(ChunkWriter& out, uint16_t value) {
    out.begin(kChunkPercentage);
    out.u16(value);
    out.end();
}

// Track header: flags, two unused words, key count.
void write_track_header(ChunkWriter& out, size_t count) {
    out.u16(0);
    out.u32(0);
    out.u32(0);
    out.u32(uint32_t(count));
}

void write_key_start(ChunkWriter& out, uint32_t frame, const SceneSpline& s) {
    out.u32(frame);
    out.u16(s.flags);
    const float values[] = {s.tension, s.continuity, s.bias, s.easeTo, s.easeFrom};
    for (int bit = 0; bit < 5; ++bit)
        if (s.flags & (1u << bit)) out.f32(values[bit]);
}

uint16_t node_chunk_id(SceneNodeKind kind) {
    switch (kind) {
        case SceneNodeKind::Camera:
            return kChunkCameraNode;
        case SceneNodeKind::Target:
            return kChunkTargetNode;
        case SceneNodeKind::Light:
            return kChunkLightNode;
        case SceneNodeKind::Object:
            break;
    }
    return kChunkObjectNode;
}

} // namespace

void write_3ds_material(ChunkWriter& out, const SceneMaterial& m) {
    out.begin(kChunkMaterial);
    out.begin(kChunkMaterialName);
    out.str(m.name);
    out.end();
    if (m.reflectionBlur) {
        out.begin(kChunkReflectionBlur);
        write_percentage(out, uint16_t(*m.reflectionBlur));
        out.end();
    }
    if (!m.textureName.empty()) {
        out.begin(kChunkTextureMap);
        write_percentage(out, kTextureStrength);
        out.begin(kChunkMapFileName);
        out.str(m.textureName);
        out.end();
        out.end();
    }
    out.end();
}

void write_3ds_mesh(ChunkWriter& out, const SceneMesh& mesh) {
    out.begin(kChunkNamedObject);
    out.str(mesh.name);
    out.begin(kChunkMesh);

    out.begin(kChunkPoints);
    out.u16(uint16_t(mesh.points.size()));
    for (const SceneVec3& p : mesh.points) write_vec3(out, p);
    out.end();

    if (!mesh.mapping.empty()) {
        out.begin(kChunkMapping);
        out.u16(uint16_t(mesh.mapping.size()));
        for (const SceneMapping& m : mesh.mapping) {
            out.f32(m.u);
            out.f32(m.v);
        }
        out.end();
    }

    if (mesh.localAxes) {
        out.begin(kChunkLocalAxes);
        for (size_t i = 0; i < 12; ++i) out.f32(i < mesh.localAxes->size() ? (*mesh.localAxes)[i] : 0.0f);
        out.end();
    }

    out.begin(kChunkFaces);
    out.u16(uint16_t(mesh.faces.size()));
    for (const SceneFace& f : mesh.faces) {
        out.u16(f.a);
        out.u16(f.b);
        out.u16(f.c);
        out.u16(f.flags);
    }
    for (const SceneMaterialGroup& g : mesh.groups) {
        out.begin(kChunkFaceMaterial);
        out.str(g.material);
        out.u16(uint16_t(g.faces.size()));
        for (uint16_t face : g.faces) out.u16(face);
        out.end();
    }
    out.end();

    out.end();
    out.end();
}

void write_3ds_light(ChunkWriter& out, const SceneLight& light) {
    out.begin(kChunkNamedObject);
    out.str(light.name);
    out.begin(kChunkLight);
    write_vec3(out, light.position);
    out.begin(kChunkColorFloat);
    out.f32(light.color.r);
    out.f32(light.color.g);
    out.f32(light.color.b);
    out.end();
    out.end();
    out.end();
}

void write_3ds_camera(ChunkWriter& out, const SceneCamera& camera) {
    out.begin(kChunkNamedObject);
    out.str(camera.name);
    out.begin(kChunkCamera);
    write_vec3(out, camera.position);
    write_vec3(out, camera.target);
    out.f32(camera.bank);
    out.f32(camera.lens);
    out.end();
    out.end();
}

void write_3ds_node_header(ChunkWriter& out, const std::string& name, uint16_t parent) {
    out.begin(kChunkNodeHeader);
    out.str(name);
    out.u16(0);
    out.u16(0);
    out.u16(parent);
    out.end();
}

void write_3ds_position_track(ChunkWriter& out, const std::vector<ScenePositionKey>& keys) {
    out.begin(kChunkPositionTrack);
    write_track_header(out, keys.size());
    for (const ScenePositionKey& k : keys) {
        write_key_start(out, k.frame, k.spline);
        write_vec3(out, k.value);
    }
    out.end();
}

void write_3ds_rotation_track(ChunkWriter& out, const std::vector<SceneRotationKey>& keys) {
    out.begin(kChunkRotationTrack);
    write_track_header(out, keys.size());
    for (const SceneRotationKey& k : keys) {
        write_key_start(out, k.frame, k.spline);
        out.f32(k.angle);
        write_vec3(out, k.axis);
    }
    out.end();
}

void write_3ds_roll_track(ChunkWriter& out, const std::vector<SceneRollKey>& keys) {
    out.begin(kChunkRollTrack);
    write_track_header(out, keys.size());
    for (const SceneRollKey& k : keys) {
        write_key_start(out, k.frame, k.spline);
        out.f32(k.roll);
    }
    out.end();
}

void write_3ds_node(ChunkWriter& out, const SceneNode& node) {
    out.begin(node_chunk_id(node.kind));
    if (node.nodeId) {
        out.begin(kChunkNodeId);
        out.u16(*node.nodeId);
        out.end();
    }
    write_3ds_node_header(out, node.name, node.parent);
    switch (node.kind) {
        case SceneNodeKind::Object:
            if (node.pivot) {
                out.begin(kChunkPivot);
                write_vec3(out, *node.pivot);
                out.end();
            }
            write_3ds_position_track(out, node.positions);
            write_3ds_rotation_track(out, node.rotations);
            break;
        case SceneNodeKind::Camera:
            write_3ds_position_track(out, node.positions);
            write_3ds_roll_track(out, node.rolls);
            break;
        case SceneNodeKind::Target:
        case SceneNodeKind::Light:
            write_3ds_position_track(out, node.positions);
            break;
    }
    out.end();
}

std::vector<uint8_t> write_3ds(const Scene3ds& scene) {
    ChunkWriter out;
    out.begin(kChunkMain);
    out.begin(kChunkVersion);
    out.u32(kFileVersion);
    out.end();

    out.begin(kChunkEditor);
    out.begin(kChunkMeshVersion);
    out.u32(kFileVersion);
    out.end();
    for (const SceneMaterial& m : scene.materials) write_3ds_material(out, m);
    out.begin(kChunkMasterScale);
    out.f32(1.0f);
    out.end();
    for (const SceneMesh& mesh : scene.meshes) write_3ds_mesh(out, mesh);
    for (const SceneLight& light : scene.lights) write_3ds_light(out, light);
    for (const SceneCamera& camera : scene.cameras) write_3ds_camera(out, camera);
    out.end();

    if (scene.segment || !scene.nodes.empty()) {
        out.begin(kChunkKeyframer);
        out.begin(kChunkKeyframerHeader);
        out.u16(kKeyframerRevision);
        out.str("halcyon");
        out.u32(scene.segment ? scene.segment->second : 0); // animation length
        out.end();
        if (scene.segment) {
            out.begin(kChunkSegment);
            out.u32(scene.segment->first);
            out.u32(scene.segment->second);
            out.end();
        }
        for (const SceneNode& node : scene.nodes) write_3ds_node(out, node);
        out.end();
    }
    out.end();
    return out.bytes();
}

bool save_3ds(const std::string& path, const Scene3ds& scene, std::string* error) {
    const std::vector<uint8_t> bytes = write_3ds(scene);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file) {
        if (error) *error = "cannot write " + path;
        return false;
    }
    return true;
}
