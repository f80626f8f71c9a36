#pragma once
// The tunnel grid over two overlapping cylinders along z: every corner ray ends on whichever
// cylinder wall it meets first, so the tunnel's cross-section is the lens where both overlap.
#include "render2d/tunnel_grid.h"

class TwinTunnelGrid : public TunnelGrid {
public:
    // Cylinder 1 about (x1, y1) with radius r1, cylinder 2 about (x2, y2) with radius r2; the
    // normals of both are taken relative to r1, the grid's radius.
    TwinTunnelGrid(bglimage* picture, float x1, float y1, float r1, float x2, float y2, float r2);

    void compute() override;

    float x1;
    float y1;
    float r1;
    float x2;
    float y2;
    float r2;
};
