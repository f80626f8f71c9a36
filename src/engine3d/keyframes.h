// Keyframe tracks: load-time preparation and the per-frame evaluation of every track.
#pragma once

#include "engine3d/world.h"

// Degrees to radians, as the roll track and a loaded camera bank need.
constexpr float kDegreesToRadians = 0.0174532925f;

// Once per world, after the y/z exchange: rotation keys become accumulated orientation
// quaternions and every position-like track gets its spline tangents. Running it twice would
// accumulate the rotations twice.
void world_prepare_keys(World* world);

// Sets every object, the active camera and every light from its tracks at the given frame
// (only the low 16 bits, as a signed number, take part). Values outside every segment keep
// what the last evaluated frame, or loading, left.
void world_animate(World* world, int frame);

// 3D Studio's ease: t in 0..1 slowed near the start by ease_from and near the end by ease_to.
float ease(float t, float ease_from, float ease_to);
