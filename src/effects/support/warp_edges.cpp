#include "effects/support/warp_edges.h"

#include <cmath>

#include "core/portable_math.h"
#include "effects/support/show_math.h"

namespace {

constexpr int kRightColumn = kScreenWidth - 1;
constexpr double kFirstSweepRate = 0.5555555555555556; // 5/9 pixel per hundredth
constexpr double kSecondSweepDivisor = 6.0;
constexpr double kWobbleTimeRate = 0.025;
constexpr double kWobbleRowRate = 0.05;
constexpr double kWobbleSize = 20.0;
constexpr double kRippleRowRate = 0.1;
constexpr double kRippleSize = 10.0;

// The edge's wobble on row r at time t: a slow wave travelling down plus a fixed ripple.
double wobble(double t, int r) {
    return kWobbleSize * pmath::sin(kWobbleTimeRate * t + kWobbleRowRate * r) +
           kRippleSize * pmath::sin(kRippleRowRate * r);
}

} // namespace

void firstWarpEdges(float t, int (&edges)[kScreenHeight]) {
    for (int r = 0; r < kScreenHeight; ++r)
        edges[r] = kRightColumn - truncToInt(kFirstSweepRate * t + wobble(t, r));
}

void secondWarpEdges(float u, int (&edges)[kScreenHeight]) {
    for (int r = 0; r < kScreenHeight; ++r) edges[r] = truncToInt(u / kSecondSweepDivisor + wobble(u, r));
}
