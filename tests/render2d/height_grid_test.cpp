#include <gtest/gtest.h>

#include <vector>

#include "grid_test_support.h"
#include "render2d/height_grid.h"

namespace {

constexpr std::int32_t kAmbientFactor = 655;     // trunc(0.01 * 255.99 * 256)
constexpr std::int32_t kSaturatedFactor = 65533; // trunc(255.99 * 256)

void flatMesh(HeightGrid& grid, float z, float spacing) {
    for (int row = 0; row < kMeshRows; ++row)
        for (int column = 0; column < kMeshColumns; ++column)
            grid.point(row, column) = {(column - 22) * spacing, (row - 14) * spacing, z};
}

const GridCorner& cornerAt(const HeightGrid& grid, int i, int j) {
    return grid.corners[j * kGridColumns + i];
}

} // namespace

TEST(HeightGrid, TexturePositionIsThePointDividedByItsDepth) {
    HeightGrid grid(nullptr);
    flatMesh(grid, 0.0f, 1.0f);
    grid.point(1, 1) = {24.0f, -12.0f, 0.0f}; // s = 240: (24, -12) * 255 / 240 = (25.5, -12.75)
    grid.point(2, 2) = {24.0f, 12.0f, 0.5f};  // s = 280
    grid.compute();
    EXPECT_EQ(cornerAt(grid, 0, 0).along, 1671168);
    EXPECT_EQ(cornerAt(grid, 0, 0).around, -835584);
    EXPECT_EQ(cornerAt(grid, 1, 1).along, static_cast<std::int32_t>(24.0f * 255.0f / 280.0f * 65536.0f));
}

TEST(HeightGrid, OnAFlatMeshLightDependsOnlyOnGridPositionAndSaturatesAt65533) {
    HeightGrid wide(nullptr), narrow(nullptr);
    for (HeightGrid* grid : {&wide, &narrow}) {
        // Above corner (i, j) = (31, 11): x = 31 - 21 = 10, y = 11 - 21 = -10.
        grid->addLight(10.0f, -10.0f, -8.0f, 1.0f, 1.0f, 0.0f, 2.0f);
        grid->addLight(-30.0f, 20.0f, -8.0f, 0.0f, 0.2f, 0.0f, 2.2f);
    }
    flatMesh(wide, 0.25f, 12.0f);
    flatMesh(narrow, 0.25f, 3.0f);
    wide.compute();
    narrow.compute();
    for (int k = 0; k < kGridCorners; ++k) {
        ASSERT_EQ(wide.corners[k].lightRed, narrow.corners[k].lightRed) << k;
        ASSERT_EQ(wide.corners[k].lightGreen, narrow.corners[k].lightGreen) << k;
    }
    const GridCorner& under = cornerAt(wide, 31, 11);
    EXPECT_EQ(under.lightRed, kSaturatedFactor);
    EXPECT_EQ(under.lightGreen, kSaturatedFactor);
    EXPECT_EQ(under.lightBlue, kAmbientFactor);
    EXPECT_LT(cornerAt(wide, 0, 25).lightRed, under.lightRed);
    EXPECT_GT(cornerAt(wide, 0, 25).lightRed, kAmbientFactor);

    Picture white = uniformTexture(0x00FFFFFFu);
    wide.picture = white.get();
    std::vector<Pixel> screen(kScreenWidth * kScreenHeight, 0);
    wide.drawLit(screen.data());
    // Block (31, 10)'s bottom-left pixel lies on corner (31, 11).
    EXPECT_EQ(screen[(11 * 8 - 1 + 1) * kScreenWidth + 31 * 8], makePixel(254, 254, 2));
}

TEST(HeightGrid, APointAtDepthZeroKeepsItsTexturePositionAndStillGetsLight) {
    HeightGrid grid(nullptr);
    grid.addLight(0.0f, 0.0f, -8.0f, 1.0f, 1.0f, 1.0f, 2.0f);
    flatMesh(grid, 0.0f, 5.0f);
    grid.compute();
    const GridCorner before = cornerAt(grid, 4, 4);
    grid.point(5, 5).z = -3.0f; // s = -3 * 80 + 240 = 0
    grid.compute();             // the sanitizer build traps a division turned into int overflow
    EXPECT_EQ(cornerAt(grid, 4, 4).along, before.along);
    EXPECT_EQ(cornerAt(grid, 4, 4).around, before.around);
    EXPECT_GT(cornerAt(grid, 4, 4).lightRed, 0);
}
