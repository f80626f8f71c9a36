// Releasing what the reader and the engine allocate for a World.
#pragma once

#include "engine3d/world.h"

// Releases every list, array, name and bucket of the world and leaves it empty (all zero).
// Material textures belong to the image cache and are left alone.
void world_free(World* world);

// Releases an object's mesh arrays (points, polys, both normal arrays, mapping coordinates
// and bounding box) and sets its counts to 0; the object itself and its tracks stay.
void object_free_mesh(Object* object);
