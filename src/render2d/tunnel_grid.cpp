#include "render2d/tunnel_grid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/portable_math.h"
#include "render2d/grid_fixed.h"

namespace {

constexpr float kAmbientLight = 0.001f;
constexpr float kLightScale = 255.0f;
constexpr float kLightLimit = 255.0f;
constexpr float kLightFixed = 256.0f; // 8.8
// 0.28 texels per unit along the axis; 256/pi texture rows per radian, so a half turn covers the
// texture once and the other half mirrors it.
constexpr float kAlongScale = 0.28f;
constexpr float kAroundScale = 81.48733095616326f;

} // namespace

TunnelGrid::TunnelGrid(bglimage* picture_, float radius_) : LitGrid(picture_), radius(radius_) {}

const GridVector* TunnelGrid::unrotatedRays() {
    std::uint32_t focalBits;
    std::memcpy(&focalBits, &focal, sizeof focalBits);
    if (rays.empty() || focalBits != raysFocalBits) {
        rays.clear();
        for (int y = kCornerYMin; y < kCornerYEnd; ++y) {
            for (int x = kCornerXMin; x < kCornerXEnd; ++x) {
                GridVector d{static_cast<float>(x), static_cast<float>(y), focal};
                normalize(d);
                rays.push_back(d);
            }
        }
        raysFocalBits = focalBits;
    }
    return rays.data();
}

void TunnelGrid::setPosition(float x, float y, float z) {
    position = {x, y, z};
}

void TunnelGrid::setAngles(float a1, float a2, float a3) {
    angles = {a1, a2, a3};
}

void TunnelGrid::lightCorner(const GridVector& h, const GridVector& n, GridCorner& corner) const {
    float sums[3] = {kAmbientLight, kAmbientLight, kAmbientLight};
    for (int i = 0; i < lightCount; ++i) {
        const GridLight& light = *lights[i];
        GridVector l{light.x - h.x, light.y - h.y, light.z - h.z};
        normalize(l);
        // A light behind the surface has a negative n . L, whose fractional power is NaN: the
        // test below is false for NaN, so such a light adds nothing, and the power need not be
        // taken. An even exponent of a negative n . L is positive and adds, as the power says.
        // The power 1 of n . L is n . L itself.
        const float facing = dot(n, l);
        if (facing < 0.0f && std::isfinite(facing) && std::trunc(light.exponent) != light.exponent) continue;
        const float k = light.exponent == 1.0f ? facing : pmath::pow(facing, light.exponent);
        if (k > 0.0f) {
            sums[0] += k * light.red;
            sums[1] += k * light.green;
            sums[2] += k * light.blue;
        }
    }
    for (float& sum : sums) sum = std::min(sum * kLightScale, kLightLimit);
    corner.lightRed = toLightFactor(sums[0] * kLightFixed);
    corner.lightGreen = toLightFactor(sums[1] * kLightFixed);
    corner.lightBlue = toLightFactor(sums[2] * kLightFixed);
}

float TunnelGrid::cylinderExit(const GridVector& d, float centreX, float centreY,
                               float cylinderRadius) const {
    const float ox = position.x - centreX;
    const float oy = position.y - centreY;
    const float a = d.x * d.x + d.y * d.y;
    const float b = 2.0f * (d.x * ox + d.y * oy);
    const float c = ox * ox + oy * oy - cylinderRadius * cylinderRadius;
    return (std::sqrt(b * b - 4.0f * a * c) - b) / (2.0f * a);
}

void TunnelGrid::shadeCylinderHit(GridCorner& corner, const GridVector& d, float t, float alongScale,
                                  float aroundScale) const {
    const GridVector h{position.x + t * d.x, position.y + t * d.y, position.z + t * d.z};
    if (!std::isfinite(h.x) || !std::isfinite(h.y) || !std::isfinite(h.z)) return;
    const GridVector n{-h.x / radius, -h.y / radius, 0.0f};
    lightCorner(h, n, corner);
    corner.along = toWrappedFixed(static_cast<double>(h.z * alongScale) * kFixedOne);
    corner.around =
        toWrappedFixed(static_cast<double>(std::fabs(pmath::atan2(h.x, h.y) * aroundScale)) * kFixedOne);
}

void TunnelGrid::compute() {
    castRays([this](GridCorner& corner, const GridVector& d) {
        shadeCylinderHit(corner, d, cylinderExit(d, 0.0f, 0.0f, radius), kAlongScale, kAroundScale);
    });
}
