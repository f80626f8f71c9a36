// Loading a scene for an effect: read the .3ds file, prepare it, choose the active camera,
// compute normals and boxes and allocate the depth buckets.
#pragma once

#include "engine3d/engine_error.h"
#include "engine3d/world.h"

#include <cstdint>

inline constexpr char kMsgNoSortedPolysMemory[] = "could not allocate sorted_polys";

// Everything world_load does after reading, for a world that read_3ds_* has just filled.
// The first camera becomes the active one (a world without cameras has none). On failure the
// world is released and left empty.
EngineError world_setup(World* world, int bucket_count);

// Reads and sets up the scene; on failure the world is left empty and the message returned.
EngineError world_try_load(World* world, const char* path, int bucket_count);

// The show's entry: as world_try_load, but prints the message and ends the process with
// code 1 on failure.
void world_load(World* world, const char* path, int bucket_count);
