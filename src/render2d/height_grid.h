#pragma once
// A lit, textured height field drawn with the block renderer of the tunnel grids. The owning
// effect moves a 43 x 28 mesh of points every frame; the inner 41 x 26 points become the corner
// records (texture position by a perspective division, light from the slope normal), and the
// outermost ring of the mesh only serves as neighbours for the slopes.
#include <array>

#include "render2d/grid_vector.h"
#include "render2d/lit_grid.h"

constexpr int kMeshColumns = kGridColumns + 2;
constexpr int kMeshRows = kGridRows + 2;

class HeightGrid : public LitGrid {
public:
    explicit HeightGrid(bglimage* picture);

    // Fills the corner records from the points and the lights. Light positions are in grid
    // units: corner column i lies at x = i - 21, corner row j at y = j - 21. A point whose
    // perspective divisor is 0 keeps the texture position its corner held.
    void compute();

    GridVector& point(int row, int column) { return points[row * kMeshColumns + column]; }
    const GridVector& point(int row, int column) const { return points[row * kMeshColumns + column]; }

    // kMeshRows rows of kMeshColumns points, row-major; the effect writes all of them.
    std::array<GridVector, kMeshColumns * kMeshRows> points{};
};
