#include "engine3d/vector.h"

#include <cmath>

Vector3* vector_normalize(Vector3* v) {
    const double lengthSquared = double(v->x) * v->x + double(v->y) * v->y + double(v->z) * v->z;
    if (!(lengthSquared > 0.0)) {
        // Also catches NaN: leave the vector as it is rather than spread the damage.
        if (lengthSquared == 0.0) *v = Vector3{0.0f, 0.0f, 0.0f};
        return v;
    }
    const float k = float(1.0 / std::sqrt(lengthSquared));
    v->x *= k;
    v->y *= k;
    v->z *= k;
    return v;
}

void vector_cross(Vector3* out, const Vector3* a, const Vector3* b) {
    const Vector3 r{float(double(a->y) * b->z - double(a->z) * b->y),
                    float(double(a->z) * b->x - double(a->x) * b->z),
                    float(double(a->x) * b->y - double(a->y) * b->x)};
    *out = r;
}

float vector_dot(const Vector3* a, const Vector3* b) {
    return float(double(a->x) * b->x + double(a->y) * b->y + double(a->z) * b->z);
}
