// The records of one 3D scene: meshes, materials, lights, cameras and their key tracks.
//
// Plain structures of fixed layout. Lists are singly linked through `next`, in file order.
// Arrays are allocated once with new[] (value-initialised, so every field starts at zero)
// and released with delete[]; world_free (world_memory.h) releases a whole World.
#pragma once

#include <cstdint>

struct bglimage; // the picture library's image record; materials only point at it

// Room for a name of at most kNameLength characters plus its terminator.
constexpr int kNameLength = 19;
constexpr int kNameSize = kNameLength + 1;

// A 4x4 matrix for row vectors: 16 floats, row-major, translation in elements 12, 13, 14.
constexpr int kMatrixSize = 16;

// Screen distance of the projection plane, in pixels, given to every camera.
constexpr float kProjectionFactor = 256.0f;

struct Vector3 {
    float x, y, z;
};

struct Color3 {
    float r, g, b; // 0.0 to 1.0 per channel
};

struct Material {
    char name[kNameSize];
    char* texture_name;  // first texture map's file name as stored, or null; heap string (new[])
    int16_t render_type; // the file's reflection-blur percentage selects how polys are drawn
    bglimage* texture;   // loaded 256x256 32-bit texture; owned by the image cache, never freed here
    Material* next;
};

struct PointNormal {
    float nx, ny, nz; // object space
    float vx, vy, vz; // camera space
};

struct PolyNormal {
    float nx, ny, nz;
};

struct TexCoord {
    float u, v; // v holds the file's v negated
};

struct Point {
    float x, y, z;    // object space (file space until prepared)
    float cx, cy, cz; // camera space
    int32_t sx, sy;   // screen
    PointNormal* normal;
    float r, g, b; // diffuse light, 0 to 255
    float u, v;    // texture coordinates from the mapping array
    float eu, ev;  // environment-map coordinates
    uint32_t clip; // outcode bits
};

struct Poly {
    Point *a, *b, *c;
    Poly* next; // next poly in the same depth bucket
    PolyNormal* normal;
    uint32_t clip;  // the object's box outcode bits of this frame
    int32_t hidden; // 1 when facing away
    Material* material;
};

// Frame numbers are the low 16 bits of the file's 32-bit value, as a signed number.
struct PositionKey {
    int16_t frame;
    float x, y, z;
    Vector3 in_tangent;
    Vector3 out_tangent;
    float tension, continuity, bias, ease_to, ease_from;
};

// As read: x, y, z hold the rotation axis and w the angle in radians (relative to the
// previous key). After world_prepare_keys: the absolute orientation quaternion x, y, z, w.
struct RotationKey {
    int16_t frame;
    float x, y, z, w;
};

struct RollKey {
    int16_t frame;
    float roll; // degrees
};

// Key counts hold the file's unsigned 16-bit counts (0 to 65535).
struct Object {
    char name[kNameSize];
    int32_t poly_count;
    int32_t point_count;
    Point* points;
    Poly* polys;
    PolyNormal* poly_normals;
    PointNormal* point_normals;
    TexCoord* texture_coordinates;      // one per point, or null without mapping coordinates
    float view_matrix[kMatrixSize];     // object space to camera space
    float matrix[kMatrixSize];          // file's local axes; after preparation object to world
    float position_matrix[kMatrixSize]; // identity plus the position track's translation
    float rotation_matrix[kMatrixSize]; // the rotation track's orientation
    Object* next;
    Vector3 pivot;
    int32_t position_key_count;
    PositionKey* position_keys;
    int32_t rotation_key_count;
    RotationKey* rotation_keys;
    Point* bounding_box; // 8 corners, or null until object_compute_bounds
    int32_t visible;
};

// An omni light.
struct Light {
    char name[kNameSize];
    Vector3 position;
    Vector3 view_position;
    float view_matrix[kMatrixSize];
    Color3 color;
    Light* next;
    int32_t position_key_count;
    PositionKey* position_keys;
};

struct Camera {
    char name[kNameSize];
    float matrix[kMatrixSize]; // world to camera
    Vector3 position;
    Vector3 target;
    float bank; // as read: degrees; radians once the world is prepared
    float lens; // focal length from the file; unused
    float projection_factor;
    Camera* next;
    int32_t position_key_count;
    PositionKey* position_keys;
    int32_t target_key_count;
    PositionKey* target_keys;
    int32_t roll_key_count;
    RollKey* roll_keys;
    // The viewport.
    int32_t near_z, top, bottom, left, right, center_x, center_y;
};

struct World {
    int16_t first_frame; // animation segment, low 16 bits
    int16_t last_frame;
    Poly** sorted_polys; // depth buckets
    int32_t sorted_poly_count;
    Object* objects;
    Camera* cameras;
    Light* lights;
    Material* materials;
    Object* current_object; // reader cursors; after loading current_camera is the active camera
    Camera* current_camera;
    Material* current_material;
    Light* current_light;
};
