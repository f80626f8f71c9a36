#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "grid_test_support.h"
#include "render2d/box_tunnel_grid.h"
#include "render2d/tunnel_grid.h"
#include "render2d/twin_tunnel_grid.h"

namespace {

constexpr float kAmbient = 0.001f;

const GridCorner& cornerAt(const TunnelGrid& grid, int x, int y) {
    return grid.corners[TunnelGrid::cornerIndex(x, y)];
}

std::int32_t expectedFactor(float sum) {
    return static_cast<std::int32_t>(std::fmin(sum * 255.0f, 255.0f) * 256.0f);
}

} // namespace

TEST(TunnelGrid, CornerTwentyZeroLooksStraightAtTheSideWallAtTextureRow128) {
    TunnelGrid grid(nullptr, 100.0f);
    grid.compute();
    const GridCorner& c = cornerAt(grid, 20, 0);
    EXPECT_EQ(c.around, 8388608);
    EXPECT_EQ(textureRow(c), 128);
    // The wall is met at x = 100, so z = 100 * 50 / 20 = 250 and the column is 250 * 0.28 = 70.
    EXPECT_NEAR(c.along, 70 << 16, 16);
    // No lights: every corner holds the ambient level.
    EXPECT_EQ(c.lightRed, expectedFactor(kAmbient));
    EXPECT_EQ(c.lightBlue, expectedFactor(kAmbient));
}

TEST(TunnelGrid, ARayAlongTheAxisKeepsItsCornerAndStartsZeroed) {
    TunnelGrid grid(nullptr, 100.0f);
    grid.addLight(0, 0, 0, 1, 1, 1, 1);
    grid.compute(); // corner (0, 0) looks straight down the axis: no wall
    EXPECT_TRUE(sameCorner(cornerAt(grid, 0, 0), GridCorner{}));

    grid.setAngles(0.2f, 0.1f, 0.0f);
    grid.compute();
    const GridCorner tilted = cornerAt(grid, 0, 0);
    EXPECT_FALSE(sameCorner(tilted, GridCorner{}));

    grid.setAngles(0.0f, 0.0f, 0.0f);
    grid.setPosition(10.0f, 0.0f, 500.0f);
    grid.compute();
    EXPECT_TRUE(sameCorner(cornerAt(grid, 0, 0), tilted));
    EXPECT_FALSE(sameCorner(cornerAt(grid, 1, 0), GridCorner{}));
}

TEST(TunnelGrid, FarHitsWrapTheirTextureCoordinatesInsteadOfOverflowing) {
    TunnelGrid grid(nullptr, 100.0f);
    // Far down the tunnel: z * 0.28 * 65536 is far beyond 2^31, the texture column still follows.
    grid.setPosition(0.0f, 0.0f, 200000.0f);
    grid.compute();
    const GridCorner& side = cornerAt(grid, 20, 0);
    EXPECT_EQ(textureColumn(side), static_cast<int>(200250.0f * 0.28f) & 255);
    EXPECT_EQ(textureRow(side), 128);

    // Nearly along the axis: the corner next to the centre reaches very far.
    grid.setPosition(0.0f, 0.0f, 0.0f);
    grid.setAngles(0.0f, std::atan2(1.0f, 50.0f) - 1e-6f, 0.0f);
    grid.compute(); // the sanitizer build traps any overflowing conversion here
    EXPECT_GE(cornerAt(grid, 1, 0).lightRed, 0);
}

TEST(TunnelGrid, LightsBehindTheWallAddOnlyThroughEvenPowers) {
    // Corner (20, 0) meets the wall at (100, 0, 250), whose normal (-1, 0, 0) faces the axis; a
    // light outside at x = 1000 has n . L = -1.
    for (float exponent : {1.5f, 0.5f, 1.0f, 2.0f}) {
        TunnelGrid grid(nullptr, 100.0f);
        grid.addLight(1000.0f, 0.0f, 250.0f, 0.5f, 0.25f, 0.0f, exponent);
        grid.compute();
        const GridCorner& c = cornerAt(grid, 20, 0);
        if (exponent == 2.0f) {
            EXPECT_NEAR(c.lightRed, expectedFactor(kAmbient + 0.5f), 2);
            EXPECT_NEAR(c.lightGreen, expectedFactor(kAmbient + 0.25f), 2);
        } else {
            EXPECT_EQ(c.lightRed, expectedFactor(kAmbient)) << exponent;
            EXPECT_EQ(c.lightGreen, expectedFactor(kAmbient)) << exponent;
        }
        EXPECT_EQ(c.lightBlue, expectedFactor(kAmbient));
    }
}

TEST(TunnelGrid, BrightLightsSaturateAt65280) {
    TunnelGrid grid(nullptr, 100.0f);
    grid.addLight(0.0f, 0.0f, 250.0f, 3.0f, 1.0f, 0.0f, 1.0f); // facing corner (20, 0)'s wall head-on
    grid.compute();
    const GridCorner& c = cornerAt(grid, 20, 0);
    EXPECT_EQ(c.lightRed, 65280);
    EXPECT_EQ(c.lightGreen, 65280);
    EXPECT_EQ(c.lightBlue, expectedFactor(kAmbient));
}

TEST(GridVector, NormalizingTheZeroVectorGivesZeroNotNaN) {
    GridVector zero{};
    normalize(zero);
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);
    GridVector v{3.0f, 0.0f, 4.0f};
    normalize(v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(dot(v, v), 1.0f);
}

TEST(TwinTunnelGrid, EachRayEndsOnTheNearerOfTheTwoWalls) {
    TwinTunnelGrid grid(nullptr, 0.0f, -600.0f, 800.0f, 0.0f, 600.0f, 800.0f);
    EXPECT_EQ(grid.radius, 800.0f);
    grid.compute();
    // Straight up (corner (0, 12)): the first cylinder's wall at y = 200 comes long before the
    // second's at y = 1400; z = 200 * 50 / 12 gives column 833.3 * 0.44 = 366 -> 110.
    const GridCorner& up = cornerAt(grid, 0, 12);
    EXPECT_EQ(textureColumn(up), 110);
    EXPECT_EQ(up.around, 0);
    // Straight down (corner (0, -13)) the second cylinder's wall comes first, at y = -200.
    const GridCorner& down = cornerAt(grid, 0, -13);
    EXPECT_EQ(textureColumn(down), static_cast<int>(200.0f * 50.0f / 13.0f * 0.44f) & 255);
}

TEST(BoxTunnelGrid, TakesTheWallNearestAlongZAndTheEarlierPlaneOnATie) {
    BoxTunnelGrid grid(nullptr, 300.0f);
    ASSERT_EQ(grid.planes[1].normal.x, -1.0f);
    ASSERT_EQ(grid.planes[3].distance, -300.0);
    grid.compute();
    // Corner (20, 12): the side wall x = 300 at z = 750 before the ceiling y = 300 at z = 1250.
    // On the side wall the texture runs across y: 180 * 0.384 = 69.
    const GridCorner& side = cornerAt(grid, 20, 12);
    EXPECT_EQ(textureColumn(side), 69);
    EXPECT_EQ(textureRow(side), static_cast<int>(750.0f * 0.384f) & 255);
    // Corner (0, 12): only the ceiling, across x = 0.
    EXPECT_EQ(textureColumn(cornerAt(grid, 0, 12)), 0);
    EXPECT_EQ(textureRow(cornerAt(grid, 0, 12)), static_cast<int>(1250.0f * 0.384f) & 255);

    // Corner (12, 12) meets wall x = 300 (plane 1) and wall y = 300 (plane 3) at the same z; a
    // light that faces only plane 1 shows which was taken.
    grid.addLight(0.0f, 1000.0f, 1250.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    grid.compute();
    EXPECT_GT(cornerAt(grid, 12, 12).lightRed, 20000);
}

TEST(BoxTunnelGrid, RaysParallelToEveryWallKeepTheirCornerAndTheCorridorNeverFreezes) {
    BoxTunnelGrid grid(nullptr, 300.0f);
    grid.compute();
    EXPECT_TRUE(sameCorner(cornerAt(grid, 0, 0), GridCorner{})); // along the corridor: no wall

    // Long after the start the camera is far beyond z = 40,000, yet the walls ahead still count.
    grid.setPosition(0.0f, 0.0f, 100100.0f);
    grid.compute();
    EXPECT_EQ(textureRow(cornerAt(grid, 20, 12)), static_cast<int>(100850.0f * 0.384f) & 255);
    EXPECT_TRUE(sameCorner(cornerAt(grid, 0, 0), GridCorner{}));
}

TEST(TunnelGridFrames, StoredChecksumsOfLitFrames) {
    Picture texture = makePicture(256, 256, [](int x, int y) { return makePixel(x ^ y, (x * 3) & 255, y); });
    std::vector<Pixel> screen(kScreenWidth * kScreenHeight, 0);

    TunnelGrid tunnel(texture.get(), 100.0f);
    tunnel.addLight(-100, -100, 300, 1.0f, 0.4f, 0.7f, 1.0f);
    tunnel.addLight(0, 0, 900, 0.0f, 1.0f, 0.5f, 1.0f);
    tunnel.setPosition(0, 0, 120);
    tunnel.setAngles(0.1f, -0.2f, 0.7f);
    tunnel.compute();
    tunnel.drawLit(screen.data());
    TwinTunnelGrid twin(texture.get(), 0, -600, 800, 0, 600, 800);
    twin.addLight(0, 0, 400, 0.8f, 0.3f, 1.0f, 1.2f);
    twin.setPosition(15, 0, 300);
    twin.setAngles(0, 0.08f, 0);
    twin.compute();
    twin.drawLitAdd(screen.data());
    const std::uint32_t tunnels = frameChecksum(screen.data(), static_cast<int>(screen.size()));

    BoxTunnelGrid box(texture.get(), 300.0f);
    box.addLight(0, 0, 1500, 1.0f, 1.0f, 0.1f, 1.3f);
    box.setPosition(150, 10, 510);
    box.setAngles(0.05f, 0.3f, -0.1f);
    box.compute();
    box.drawLit(screen.data());
    const std::uint32_t corridor = frameChecksum(screen.data(), static_cast<int>(screen.size()));

    EXPECT_EQ(tunnels, 1014116727u);
    EXPECT_EQ(corridor, 2546894887u);
}

// The rays are made once per focal length: a grid whose focal length changes between computes
// gives what a fresh grid with the new one gives.
TEST(TunnelGrid, AChangedFocalLengthRemakesTheRays) {
    TunnelGrid changed(nullptr, 100.0f), fresh(nullptr, 100.0f);
    changed.setPosition(3.0f, -2.0f, 700.0f);
    fresh.setPosition(3.0f, -2.0f, 700.0f);
    changed.compute();
    changed.focal = 80.0f;
    fresh.focal = 80.0f;
    changed.compute();
    fresh.compute();
    for (int i = 0; i < kGridCorners; ++i) {
        ASSERT_EQ(changed.corners[i].along, fresh.corners[i].along) << i;
        ASSERT_EQ(changed.corners[i].around, fresh.corners[i].around) << i;
    }
}
