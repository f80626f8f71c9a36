#include "render2d/height_grid.h"

#include <algorithm>
#include <cmath>

#include "core/portable_math.h"
#include "render2d/grid_fixed.h"

namespace {

constexpr float kAmbientLight = 0.01f;
constexpr float kLightLimit = 1.0f;
constexpr float kLightLevelScale = 255.99f;
constexpr float kLightFixed = 256.0f;
// Perspective: s = z * 80 + 240, texture position = (x, y) * 255 / s.
constexpr float kDepthScale = 80.0f;
constexpr float kDepthBase = 240.0f;
constexpr float kTextureSpan = 255.0f;
// The slope normal's constant z: how flat the surface reads under the lights.
constexpr float kNormalZ = -0.7f;
// Grid units of the lights: column i sits at i - 21, row j at j - 21.
constexpr int kLightGridOrigin = 21;

} // namespace

HeightGrid::HeightGrid(bglimage* picture_) : LitGrid(picture_) {}

void HeightGrid::compute() {
    for (int j = 0; j < kGridRows; ++j) {
        for (int i = 0; i < kGridColumns; ++i) {
            GridCorner& corner = corners[j * kGridColumns + i];
            const GridVector& p = point(j + 1, i + 1);

            const float s = p.z * kDepthScale + kDepthBase;
            if (s != 0.0f) {
                const float u = p.x * kTextureSpan / s;
                const float v = p.y * kTextureSpan / s;
                corner.along = toWrappedFixed(static_cast<double>(u) * kFixedOne);
                corner.around = toWrappedFixed(static_cast<double>(v) * kFixedOne);
            }

            // Slopes: the next point of the row minus the point up and to the left, and the point
            // below minus the point above.
            GridVector n{point(j + 1, i + 2).z - point(j, i).z, point(j + 2, i + 1).z - point(j, i + 1).z,
                         kNormalZ};
            normalize(n);

            float sums[3] = {kAmbientLight, kAmbientLight, kAmbientLight};
            for (int k = 0; k < lightCount; ++k) {
                const GridLight& light = *lights[k];
                GridVector l{static_cast<float>(i - kLightGridOrigin) - light.x,
                             static_cast<float>(j - kLightGridOrigin) - light.y, p.z - light.z};
                normalize(l);
                const float facing = std::max(-dot(n, l), 0.0f);
                const float strength = pmath::pow(facing, light.exponent);
                sums[0] += strength * light.red;
                sums[1] += strength * light.green;
                sums[2] += strength * light.blue;
            }
            corner.lightRed = toLightFactor(std::min(sums[0], kLightLimit) * kLightLevelScale * kLightFixed);
            corner.lightGreen =
                toLightFactor(std::min(sums[1], kLightLimit) * kLightLevelScale * kLightFixed);
            corner.lightBlue = toLightFactor(std::min(sums[2], kLightLimit) * kLightLevelScale * kLightFixed);
        }
    }
}
