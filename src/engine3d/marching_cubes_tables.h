// The marching-cubes tables for the engine's cube numbering.
#pragma once

#include <array>
#include <cstdint>

// Corner n of a cell sits at these offsets from the cell's lowest grid point.
struct CubeOffset {
    int dx, dy, dz;
};
constexpr std::array<CubeOffset, 8> kCubeCorners = {{
    {0, 1, 1},
    {1, 1, 1},
    {1, 1, 0},
    {0, 1, 0},
    {0, 0, 1},
    {1, 0, 1},
    {1, 0, 0},
    {0, 0, 0},
}};

// The two corners of each of the 12 cell edges.
struct CubeEdge {
    int from, to;
};
constexpr std::array<CubeEdge, 12> kCubeEdges = {{
    {0, 1},
    {1, 2},
    {2, 3},
    {3, 0},
    {4, 5},
    {5, 6},
    {6, 7},
    {7, 4},
    {0, 4},
    {1, 5},
    {2, 6},
    {3, 7},
}};

constexpr int kCubeCases = 256;
constexpr int kMaxCubeTriangles = 5;
constexpr int kTriangleRowLength = 3 * kMaxCubeTriangles + 1;

// Bit e is set when edge e joins a corner below the surface level and one that is not; the
// case index has bit n set for every corner n below the level.
constexpr std::array<uint16_t, kCubeCases> makeEdgeTable() {
    std::array<uint16_t, kCubeCases> table{};
    for (int index = 0; index < kCubeCases; ++index) {
        for (int e = 0; e < 12; ++e) {
            const bool fromBelow = (index >> kCubeEdges[e].from) & 1;
            const bool toBelow = (index >> kCubeEdges[e].to) & 1;
            if (fromBelow != toBelow) table[index] |= uint16_t(1u << e);
        }
    }
    return table;
}
constexpr std::array<uint16_t, kCubeCases> kEdgeTable = makeEdgeTable();

// Per case, triples of edge numbers (the triangles' corners lie on those edges), ended by -1.
extern const int8_t kTriangleTable[kCubeCases][kTriangleRowLength];
