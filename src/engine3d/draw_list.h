// Painting a scene far to near: the depth buckets and the three ways to draw them.
#pragma once

#include "engine3d/world.h"

#include <cstdint>

// Glow added by outlines: blue, green and red amounts.
constexpr int kOutlineBlue = 8;
constexpr int kOutlineGreen = 16;
constexpr int kOutlineRed = 2;
constexpr int kEnvOutlineBlue = 32;

// The bucket of a poly: trunc(a.cz + b.cz + c.cz) + 1000. False when the poly is not to be
// filed (key 0 or less, bucket_count or more, or no number at all).
bool poly_sort_key(const Poly* poly, int32_t bucket_count, int32_t* key);

// Empties every bucket and files the front-facing polys of the visible objects by depth key.
// Within a bucket the poly filed last comes first.
void world_sort(World* world);

// Every filed poly from the farthest bucket to the nearest, drawn as its material's
// render_type asks; polys without a texture of their own use the environment map.
void world_draw(uint32_t* pixels, World* world, const uint32_t* environment);

// Every filed poly, far to near, environment-mapped whatever its material.
void world_draw_envmapped(World* world, uint32_t* pixels, const uint32_t* environment);

// The outline of every filed poly, far to near, with the given amounts.
void world_draw_wire(World* world, uint32_t* pixels, int blue, int green, int red);
