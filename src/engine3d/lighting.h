// Diffuse light at every point of the visible objects, from the world's omni lights.
#pragma once

#include "engine3d/world.h"

// Per point and channel: 0.1 ambient plus, per light, its colour times the squared cosine
// between the point's camera-space normal and the direction to the light (no fall-off with
// distance), stored as 0 to 255 (a sum of 1.0 or more is 255). Points of culled objects keep
// their last colours. A point at a light's very position gets nothing from that light.
void world_light(World* world);
