// The metaball surface: an iso-surface polygonised every frame by marching cubes from a scalar
// field on a fixed 17x17x17 grid, carried by one object of a loaded world so that the normal
// pipeline transforms, lights, sorts and draws it.
#pragma once

#include "engine3d/engine_error.h"
#include "engine3d/world.h"

#include <cstdint>

constexpr int kMetaballGridSide = 17;
constexpr int kMetaballGridPoints = kMetaballGridSide * kMetaballGridSide * kMetaballGridSide;
constexpr int kMetaballCellSide = kMetaballGridSide - 1;
// Room of the surface object; a surface that needs more is cut off there.
constexpr int kMetaballCapacity = 10000;

inline constexpr char kMsgNoMetaballMemory[] = "could not allocate memory for the metaball surface";

// A grid point: its position (-12 to 12 in steps of 1.5 on each axis) and the field value the
// effect writes before every polygonisation. The surface lies where value is 0; below 0 (or
// not a number) is outside.
struct GridPoint {
    float x, y, z;
    float value;
};

// Point (k, j, i) along x, y, z is entry i * 289 + j * 17 + k.
extern GridPoint metaball_grid[kMetaballGridPoints];

inline int metaball_grid_index(int x, int y, int z) {
    return (z * kMetaballGridSide + y) * kMetaballGridSide + x;
}

// Once per load: the object's mesh is replaced by room for the surface, every poly gets the
// material (none: the material of the object's first poly as loaded), the grid positions
// and cells are built and every shared edge point forgotten. Fails only when memory runs out.
EngineError metaball_setup(Object* object, Material* material);

// Forgets every shared edge point (an effect calls it when it starts again).
void metaball_reset();

// Rebuilds the set-up object from the grid's values: one point per crossing grid edge, shared
// by the cells around it, with a normal from the field's gradient; the polys of every cell;
// every point scaled by scale, u = x / 200 and v = y / 200; the bounding box. An empty surface
// has no box, which culls the object. Does nothing to an object metaball_setup did not set up.
void metaball_polygonise(Object* object, float scale);
