#include "render2d/box_tunnel_grid.h"

#include <cmath>
#include <limits>

#include "render2d/grid_fixed.h"

namespace {

// Walls further ahead of the camera than this (in z) are not taken.
constexpr float kFarthestWall = 40000.0f;
constexpr float kBoxTexelScale = 0.384f; // texels per unit on the walls, both ways
constexpr int kNoPlane = -1;
constexpr double kFarthestDistance = std::numeric_limits<float>::max();

} // namespace

BoxTunnelGrid::BoxTunnelGrid(bglimage* picture_, float radius_)
    : TunnelGrid(picture_, radius_), planes{{
                                         {{1.0f, 0.0f, 0.0f}, -radius_},
                                         {{-1.0f, 0.0f, 0.0f}, -radius_},
                                         {{0.0f, 1.0f, 0.0f}, -radius_},
                                         {{0.0f, -1.0f, 0.0f}, -radius_},
                                     }} {}

void BoxTunnelGrid::compute() {
    const GridVector o = position;
    castRays([&](GridCorner& corner, const GridVector& d) {
        // Depth is measured from the camera (h.z - o.z): the camera flies on along z without
        // bound, and an absolute limit would leave no wall to take after a while.
        float nearest = kFarthestWall;
        int taken = kNoPlane;
        GridVector hit;
        for (int i = 0; i < static_cast<int>(planes.size()); ++i) {
            const GridPlane& plane = planes[i];
            const float facing = dot(plane.normal, d);
            if (facing == 0.0f) continue; // parallel to the wall
            // t is positive only when the distance and the facing have the same sign: the walls
            // behind the camera are passed over without the division.
            const double towards = plane.distance - dot(plane.normal, o);
            if (!((towards > 0.0 && facing > 0.0f) || (towards < 0.0 && facing < 0.0f))) continue;
            const double t = towards / facing;
            // Behind the camera, at the camera, or beyond any float distance: no hit.
            if (!(t > 0.0) || !(t < kFarthestDistance)) continue;
            const float tf = static_cast<float>(t);
            const GridVector h{o.x + tf * d.x, o.y + tf * d.y, o.z + tf * d.z};
            if (!std::isfinite(h.x) || !std::isfinite(h.y) || !std::isfinite(h.z)) continue;
            if (h.z - o.z < nearest) {
                nearest = h.z - o.z;
                taken = i;
                hit = h;
            }
        }
        if (taken == kNoPlane) return;

        GridVector n = planes[taken].normal;
        normalize(n);
        lightCorner(hit, n, corner);
        const bool sideWall = taken < 2; // x = +-radius: the texture runs across y
        const float across = std::fabs(sideWall ? hit.y : hit.x);
        corner.along = toWrappedFixed(static_cast<double>(across * kBoxTexelScale) * kFixedOne);
        corner.around = toWrappedFixed(static_cast<double>(std::fabs(hit.z) * kBoxTexelScale) * kFixedOne);
    });
}
