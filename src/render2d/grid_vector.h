#pragma once
// The small float vector the ray-cast grids work with.
#include <cmath>

struct GridVector {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

inline float dot(const GridVector& a, const GridVector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Scales v to unit length in place. A zero vector stays zero: its direction is undefined, and a
// zero keeps NaN out of the light sums that use it.
inline void normalize(GridVector& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0.0f)) {
        v = GridVector{};
        return;
    }
    const float inverse = 1.0f / length;
    v.x *= inverse;
    v.y *= inverse;
    v.z *= inverse;
}
