#include "forge/test_files.h"
#include "forge/tunnel/tunnel_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

int wrappedStep(int a, int b) {
    const int d = std::abs(a - b) % forge::kTunnelTextureSize;
    return std::min(d, forge::kTunnelTextureSize - d);
}

} // namespace

TEST(TunnelTable, FileHoldsLittleEndianEntriesOfTheTable) {
    const std::vector<uint16_t> table = forge::makeTunnelTable();
    ASSERT_EQ(table.size(), 64000u);
    const std::vector<uint8_t> file = forge_test::readFile(forge_test::kDataDir + "/wormtab.dat");
    ASSERT_EQ(file.size(), 128000u);
    for (size_t i = 0; i < table.size(); ++i)
        ASSERT_EQ(file[2 * i] | (file[2 * i + 1] << 8), table[i]) << "entry " << i;
}

TEST(TunnelTable, TexelsChangeSmoothlyAndWrapAllTheWayRound) {
    const std::vector<uint16_t> table = forge::makeTunnelTable();
    const int w = forge::kTunnelScreenWidth;
    std::vector<bool> columnSeen(forge::kTunnelTextureSize, false);
    int rough = 0;
    for (int y = 0; y < forge::kTunnelScreenHeight; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            const int a = table[size_t(y) * w + x], b = table[size_t(y) * w + x + 1];
            columnSeen[a & 0xFF] = true;
            // Away from the vanishing point, neighbours are neighbours in the texture too.
            const int dx = x - 160, dy = y - 100;
            if (dx * dx + dy * dy < 60 * 60) continue;
            rough += wrappedStep(a >> 8, b >> 8) > 4 || wrappedStep(a & 0xFF, b & 0xFF) > 4;
        }
    EXPECT_EQ(rough, 0);
    for (int c = 0; c < forge::kTunnelTextureSize; ++c) EXPECT_TRUE(columnSeen[c]) << "column " << c;
    // Nearer the centre is deeper: rows rise from the edge inwards along the middle row.
    const int rowAtEdge = table[size_t(94) * w + 0] >> 8, rowFurtherIn = table[size_t(94) * w + 40] >> 8;
    EXPECT_GT(rowFurtherIn, rowAtEdge);
}

// The far end once was a disc of one depth, which the turning texture drew as a spinning
// pinwheel, ringed by rows that changed faster than one per pixel and shimmered as noise.
TEST(TunnelTable, FarEndRunsSmoothlyIntoAPoint) {
    const std::vector<uint16_t> table = forge::makeTunnelTable();
    const int w = forge::kTunnelScreenWidth, h = forge::kTunnelScreenHeight;
    auto row = [&](int x, int y) { return table[size_t(y) * w + x] >> 8; };
    // The vanishing point: the middle of the deepest rows.
    double sumX = 0, sumY = 0;
    int deepest = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (row(x, y) >= 250) sumX += x, sumY += y, ++deepest;
    ASSERT_GT(deepest, 0);
    const double cx = sumX / deepest, cy = sumY / deepest;

    int jumps = 0;
    std::vector<bool> rowsNearTheEnd(forge::kTunnelTextureSize, false);
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            jumps += wrappedStep(row(x, y), row(x + 1, y)) > 8 || wrappedStep(row(x, y), row(x, y + 1)) > 8;
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < 20 * 20) rowsNearTheEnd[row(x, y)] = true;
        }
    // Only the vanishing point itself may stand apart from its neighbours.
    EXPECT_LE(jumps, 4);
    EXPECT_GE(std::count(rowsNearTheEnd.begin(), rowsNearTheEnd.end(), true), 30);
}
