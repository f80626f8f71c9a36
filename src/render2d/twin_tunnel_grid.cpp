#include "render2d/twin_tunnel_grid.h"

#include <cmath>

namespace {

// Denser than the single cylinder: 0.44 texels per unit along the axis, 1024/pi rows per radian.
constexpr float kTwinAlongScale = 0.44f;
constexpr float kTwinAroundScale = 325.94932382465305f;

} // namespace

TwinTunnelGrid::TwinTunnelGrid(bglimage* picture_, float x1_, float y1_, float r1_, float x2_, float y2_,
                               float r2_)
    : TunnelGrid(picture_, r1_), x1(x1_), y1(y1_), r1(r1_), x2(x2_), y2(y2_), r2(r2_) {}

void TwinTunnelGrid::compute() {
    castRays([this](GridCorner& corner, const GridVector& d) {
        const float t1 = cylinderExit(d, x1, y1, r1);
        const float t2 = cylinderExit(d, x2, y2, r2);
        // The nearer wall; a cylinder the ray never leaves does not count.
        float t = t1;
        if (!std::isfinite(t1) || (std::isfinite(t2) && t2 < t1)) t = t2;
        shadeCylinderHit(corner, d, t, kTwinAlongScale, kTwinAroundScale);
    });
}
