#pragma once
// The tunnel grid in a square corridor: four flat walls at x = -radius, x = +radius,
// y = -radius and y = +radius, their normals pointing into the corridor.
#include <array>

#include "render2d/tunnel_grid.h"

// The points p with normal . p = distance.
struct GridPlane {
    GridVector normal;
    double distance;
};

class BoxTunnelGrid : public TunnelGrid {
public:
    BoxTunnelGrid(bglimage* picture, float radius);

    // Each corner ray takes the wall it meets nearest along z (the earlier plane on a tie), within
    // a fixed depth of the camera; a ray that meets none keeps the corner as it was.
    void compute() override;

    std::array<GridPlane, 4> planes;
};
