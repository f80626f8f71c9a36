#include "engine3d/quaternion.h"

#include "core/portable_math.h"

#include <cmath>

namespace {
// Below this distance from 1 the slerp cosine means "same orientation": mix linearly.
constexpr double kSlerpLinearThreshold = 1e-6;
} // namespace

Quaternion quaternion_from_axis_angle(float x, float y, float z, float angle) {
    const float s = float(pmath::sin(double(angle) / 2.0));
    return Quaternion{s * x, s * y, s * z, float(pmath::cos(double(angle) / 2.0))};
}

Quaternion quaternion_multiply(const Quaternion& p, const Quaternion& q) {
    return Quaternion{
        p.w * q.x + q.w * p.x + p.y * q.z - q.y * p.z, p.w * q.y + q.w * p.y + q.x * p.z - p.x * q.z,
        p.w * q.z + q.w * p.z + p.x * q.y - q.x * p.y, p.w * q.w - q.x * p.x - p.y * q.y - q.z * p.z};
}

Quaternion quaternion_slerp(float t, const Quaternion& q0, const Quaternion& q1) {
    const double cosine =
        double(q0.x) * q1.x + double(q0.y) * q1.y + double(q0.z) * q1.z + double(q0.w) * q1.w;
    const double c = std::fabs(cosine);
    double w0, w1;
    if (1.0 - c >= kSlerpLinearThreshold) {
        const double omega = pmath::acos(c);
        const double s = pmath::sin(omega);
        w0 = pmath::sin(omega - t * omega) / s;
        w1 = pmath::sin(t * omega) / s;
    } else {
        w0 = 1.0 - t;
        w1 = t;
    }
    if (cosine < 0.0) w1 = -w1;
    return Quaternion{float(w0 * q0.x + w1 * q1.x), float(w0 * q0.y + w1 * q1.y),
                      float(w0 * q0.z + w1 * q1.z), float(w0 * q0.w + w1 * q1.w)};
}

void quaternion_to_matrix(const Quaternion& q, float rotation[9]) {
    const float n = q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w;
    const float s = (n == 0.0f) ? 1.0f : 2.0f / n;
    const float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    const float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    const float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    rotation[0] = 1.0f - s * (yy + zz);
    rotation[1] = s * (xy + wz);
    rotation[2] = s * (xz - wy);
    rotation[3] = s * (xy - wz);
    rotation[4] = 1.0f - s * (xx + zz);
    rotation[5] = s * (yz + wx);
    rotation[6] = s * (xz + wy);
    rotation[7] = s * (yz - wx);
    rotation[8] = 1.0f - s * (xx + yy);
}
