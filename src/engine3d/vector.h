// 3-vector helpers of the engine.
#pragma once

#include "engine3d/world.h"

// Scales v to unit length in place and returns it. A zero vector stays zero (zero-area faces,
// unused points and a camera at its own target all produce one).
Vector3* vector_normalize(Vector3* v);

// out = a x b; out may be a or b.
void vector_cross(Vector3* out, const Vector3* a, const Vector3* b);

float vector_dot(const Vector3* a, const Vector3* b);
