// Load-time preparation of a read world and the per-frame pass that carries it into camera
// and screen space: camera matrix, object culling, point transform, projection, back faces.
#pragma once

#include "engine3d/world.h"

#include <cstdint>

// Outcode bits of a point or poly (bit 0x02 is never set).
constexpr uint32_t kClipNear = 0x01;   // cz below near_z: nearer than the near plane or behind the eye
constexpr uint32_t kClipLeft = 0x04;   // sx < left
constexpr uint32_t kClipRight = 0x08;  // sx > right
constexpr uint32_t kClipTop = 0x10;    // sy < top
constexpr uint32_t kClipBottom = 0x20; // sy > bottom

// The viewport every camera gets at load: the 320x200 screen less its outer column and row.
constexpr int kViewportNearZ = 1;
constexpr int kViewportLeft = 1;
constexpr int kViewportRight = 319;
constexpr int kViewportTop = 1;
constexpr int kViewportBottom = 199;
constexpr int kViewportCenterX = 160;
constexpr int kViewportCenterY = 100;

// Once after reading: meshes into their local frames, the file's axes into engine axes
// (y and z exchanged), a loaded camera bank into radians, then world_prepare_keys.
void world_prepare(World* world);

// Per frame, after world_animate: camera, lights, culling, points, normals, projection,
// back faces. A world without a camera shows nothing: every object is marked invisible.
void world_transform(World* world);

// Rebuilds the camera's world-to-camera matrix from position, target and bank.
void camera_update(Camera* camera);

void camera_set_viewport(Camera* camera, int near_z, int left, int right, int top, int bottom, int center_x,
                         int center_y);

// Sets the point's clip bits from sx, sy and cz.
void compute_outcode(Point* point, const Camera* camera);

// Unit normal of every poly and, per point, the average normal of the polys that use it
// (zero for a point no poly uses).
void object_compute_normals(Object* object);

// The 8 corners of the box around the object's points (allocated on the first call). An
// object without points gets a box shrunk to the origin.
void object_compute_bounds(Object* object);

// Projects the camera-space point onto the screen: sx, sy. Points at, behind or very near
// the eye are clamped far off screen instead of overflowing the integer conversion.
void camera_project(const Camera* camera, Point* point);
