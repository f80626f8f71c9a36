#include "forge/pictures/noise.h"

#include "forge/pictures/random.h"

#include <cmath>

namespace forge {

namespace {

constexpr int kLattice = 256;
constexpr int kGradients = 8;
// Unit gradients at eight compass points.
constexpr float kGradientX[kGradients] = {1, -1, 0, 0, 0.70710678f, -0.70710678f, 0.70710678f, -0.70710678f};
constexpr float kGradientY[kGradients] = {0, 0, 1, -1, 0.70710678f, 0.70710678f, -0.70710678f, -0.70710678f};

inline float fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

inline int wrap(int i, int period) {
    if (period <= 0) return i & (kLattice - 1);
    i %= period;
    return i < 0 ? i + period : i;
}

} // namespace

Noise::Noise(uint64_t seed) {
    Random random(seed);
    for (int i = 0; i < kLattice; ++i) permutation[size_t(i)] = uint8_t(i);
    for (int i = kLattice - 1; i > 0; --i) {
        const int j = int(random.next() % uint64_t(i + 1));
        std::swap(permutation[size_t(i)], permutation[size_t(j)]);
    }
    for (int i = 0; i < kLattice; ++i) permutation[size_t(i + kLattice)] = permutation[size_t(i)];
}

float Noise::gradient(float x, float y, int period) const {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const float dx = x - fx, dy = y - fy;
    const int x0 = wrap(ix, period) & (kLattice - 1), x1 = wrap(ix + 1, period) & (kLattice - 1);
    const int y0 = wrap(iy, period) & (kLattice - 1), y1 = wrap(iy + 1, period) & (kLattice - 1);
    auto corner = [&](int cx, int cy, float ox, float oy) {
        const int g = permutation[size_t(permutation[size_t(cx)] + cy)] % kGradients;
        return kGradientX[g] * ox + kGradientY[g] * oy;
    };
    const float u = fade(dx), v = fade(dy);
    const float top = corner(x0, y0, dx, dy) + u * (corner(x1, y0, dx - 1, dy) - corner(x0, y0, dx, dy));
    const float bottom =
        corner(x0, y1, dx, dy - 1) + u * (corner(x1, y1, dx - 1, dy - 1) - corner(x0, y1, dx, dy - 1));
    return (top + v * (bottom - top)) * 1.4f;
}

float Noise::fbm(float x, float y, int octaves, int period) const {
    float sum = 0, weight = 0.5f;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * gradient(x, y, period);
        x *= 2;
        y *= 2;
        period *= 2;
        weight *= 0.5f;
    }
    return sum * 1.6f;
}

float Noise::ridged(float x, float y, int octaves, int period) const {
    float sum = 0, weight = 0.5f;
    for (int i = 0; i < octaves; ++i) {
        const float r = 1.0f - std::fabs(gradient(x, y, period));
        sum += weight * r * r;
        x *= 2;
        y *= 2;
        period *= 2;
        weight *= 0.5f;
    }
    return sum;
}

float Noise::warped(float x, float y, int octaves, float strength, float* warpX, float* warpY,
                    int period) const {
    // Offsets only decorrelate the fields; periodic noise needs whole-cell offsets to stay periodic.
    const float qx = fbm(x, y, octaves, period);
    const float qy = fbm(x + 5.0f, y + 1.0f, octaves, period);
    const float rx = fbm(x + strength * qx + 2.0f, y + strength * qy + 9.0f, octaves, period);
    const float ry = fbm(x + strength * qx + 8.0f, y + strength * qy + 3.0f, octaves, period);
    if (warpX) *warpX = rx;
    if (warpY) *warpY = ry;
    return fbm(x + strength * rx, y + strength * ry, octaves, period);
}

} // namespace forge
