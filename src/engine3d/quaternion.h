// Quaternions for the rotation tracks: x, y, z the vector part, w the scalar part.
#pragma once

struct Quaternion {
    float x, y, z, w;
};

// The rotation by angle (radians) about the axis as given (not normalised).
Quaternion quaternion_from_axis_angle(float x, float y, float z, float angle);

// The Hamilton product p*q.
Quaternion quaternion_multiply(const Quaternion& p, const Quaternion& q);

// Spherical linear interpolation from q0 (t = 0) to q1 (t = 1) the shorter way round; nearly
// equal quaternions mix linearly. The result is not renormalised.
Quaternion quaternion_slerp(float t, const Quaternion& q0, const Quaternion& q1);

// The 3x3 rotation for row vectors, rows one after another. A zero quaternion gives a
// matrix built with scale 1 instead of dividing by its zero norm.
void quaternion_to_matrix(const Quaternion& q, float rotation[9]);
