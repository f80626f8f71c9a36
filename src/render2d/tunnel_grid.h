#pragma once
// A lit, textured tunnel seen from a moving camera, ray-cast once per corner of each 8x8 block:
// each corner ray is intersected with a cylinder along the z axis, the hit point is lit by the
// grid's point lights, and its texture coordinates and light are stored for the block renderers.
#include <array>
#include <cstdint>
#include <vector>

#include "core/portable_math.h"
#include "render2d/grid_vector.h"
#include "render2d/lit_grid.h"

class TunnelGrid : public LitGrid {
public:
    // The corner rays: x from -20 up to 20, y from -13 up to 12; corner (x, y) is record
    // (y + 13) * 41 + (x + 20).
    static constexpr int kCornerXMin = -20;
    static constexpr int kCornerXEnd = 21;
    static constexpr int kCornerYMin = -13;
    static constexpr int kCornerYEnd = 13;

    TunnelGrid(bglimage* picture, float radius);

    // The camera for the next compute: origin, and rotations (radians) about x, then y, then z.
    void setPosition(float x, float y, float z);
    void setAngles(float a1, float a2, float a3);

    // Fills the corner records for the current camera and lights. A corner whose ray meets no
    // wall keeps what it held (zero before the first compute).
    virtual void compute();

    static int cornerIndex(int x, int y) { return (y - kCornerYMin) * kGridColumns + (x - kCornerXMin); }

    float focal = 50.0f; // z of every ray before rotation
    float radius;
    GridVector position{};
    std::array<float, 3> angles{};

protected:
    // Calls hit(corner, ray) for every corner with its rotated, unit-length ray.
    template <class Hit> void castRays(Hit hit);

    // Light sums at hit point h with surface normal n (unit length): each starts at a faint
    // ambient level, every light facing the surface adds its colour times (n . L)^exponent, and
    // the result is scaled to a light factor (at most 255.0 in 8.8).
    void lightCorner(const GridVector& h, const GridVector& n, GridCorner& corner) const;

    // Distance along the unit ray d from the camera to where it leaves the cylinder of the given
    // radius about the axis through (centreX, centreY): the far root, as the camera is inside.
    // Not finite when there is no such point (a ray along the axis, or a camera outside).
    float cylinderExit(const GridVector& d, float centreX, float centreY, float cylinderRadius) const;

    // Lights a hit at distance t along d and stores its texture coordinates: alongScale texels per
    // unit of z, aroundScale texture rows per radian about the axis (mirrored). A hit that is not
    // finite keeps the corner as it was.
    void shadeCylinderHit(GridCorner& corner, const GridVector& d, float t, float alongScale,
                          float aroundScale) const;

private:
    // The unit rays before rotation depend on the focal length alone: made once, row by row, and
    // again only when focal changes (compared bit for bit).
    const GridVector* unrotatedRays();
    std::vector<GridVector> rays;
    std::uint32_t raysFocalBits = 0;
};

template <class Hit> void TunnelGrid::castRays(Hit hit) {
    const float sin1 = pmath::sin(angles[0]), cos1 = pmath::cos(angles[0]);
    const float sin2 = pmath::sin(angles[1]), cos2 = pmath::cos(angles[1]);
    const float sin3 = pmath::sin(angles[2]), cos3 = pmath::cos(angles[2]);
    const GridVector* ray = unrotatedRays();
    for (int y = kCornerYMin; y < kCornerYEnd; ++y) {
        for (int x = kCornerXMin; x < kCornerXEnd; ++x) {
            const GridVector d = *ray++;
            // About x by a1, then about y by a2, then about z by a3.
            const float y1 = d.y * cos1 - d.z * sin1;
            const float z1 = d.y * sin1 + d.z * cos1;
            const float x2 = d.x * cos2 - z1 * sin2;
            const float z2 = d.x * sin2 + z1 * cos2;
            const float x3 = x2 * cos3 - y1 * sin3;
            const float y3 = x2 * sin3 + y1 * cos3;
            hit(corners[cornerIndex(x, y)], GridVector{x3, y3, z2});
        }
    }
}
