#include "forge/scenes/knot_tube.h"

#include <cmath>

namespace forge {
namespace {

constexpr double kTwoPi = 6.283185307179586;
// Step of the numerical derivatives along the curve parameter.
constexpr double kDerivativeStep = 1e-4;

struct V3 {
    double x, y, z;
};

V3 operator+(V3 a, V3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator-(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 operator*(V3 a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
V3 cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V3 unit(V3 a) {
    const double l = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return l > 0.0 ? a * (1.0 / l) : a;
}

V3 knotPoint(const KnotTube& k, double t) {
    const double r = k.majorRadius + k.minorRadius * std::cos(k.twists * t);
    return {r * std::cos(k.windings * t), r * std::sin(k.windings * t),
            k.minorRadius * std::sin(k.twists * t)};
}

} // namespace

SceneMesh makeKnotTube(const std::string& name, const KnotTube& k) {
    SceneMesh mesh;
    mesh.name = name;
    for (int i = 0; i < k.segments; ++i) {
        const double t = kTwoPi * i / k.segments;
        const V3 c = knotPoint(k, t);
        const V3 before = knotPoint(k, t - kDerivativeStep);
        const V3 after = knotPoint(k, t + kDerivativeStep);
        // Frenet frame: a torus knot bends everywhere, so the frame is defined all along and
        // closes on itself.
        const V3 tangent = unit(after - before);
        const V3 bend = (after + before) - c * 2.0;
        const V3 binormal = unit(cross(tangent, bend));
        const V3 normal = cross(binormal, tangent);
        for (int j = 0; j < k.sides; ++j) {
            const double a = kTwoPi * j / k.sides;
            const V3 p = (c + (normal * std::cos(a) + binormal * std::sin(a)) * k.tubeRadius) * k.scale;
            mesh.points.push_back({float(p.x), float(p.y), float(p.z)});
            mesh.mapping.push_back({float(i) / k.segments, float(j) / k.sides});
        }
    }
    auto index = [&](int i, int j) { return uint16_t((i % k.segments) * k.sides + (j % k.sides)); };
    for (int i = 0; i < k.segments; ++i) {
        for (int j = 0; j < k.sides; ++j) {
            // Around the ring, then along the knot: counter-clockwise seen from outside.
            mesh.faces.push_back({index(i, j), index(i, j + 1), index(i + 1, j + 1)});
            mesh.faces.push_back({index(i, j), index(i + 1, j + 1), index(i + 1, j)});
        }
    }
    return mesh;
}

} // namespace forge
