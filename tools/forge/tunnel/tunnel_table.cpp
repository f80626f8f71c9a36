#include "forge/tunnel/tunnel_table.h"

#include "forge/common/write_file.h"

#include <algorithm>
#include <cmath>

namespace forge {

namespace {

// The vanishing point sits a little above the middle, so the flares falling through the lower
// half cross the tunnel's walls rather than its far end.
constexpr double kCentreX = 160.0;
constexpr double kCentreY = 94.0;
// Screen pixels are 1.2 times taller than wide on a 4:3 display of 320x200: the tunnel is
// stretched so it looks round.
constexpr double kPixelAspect = 1.2;
// Texture rows = kDepth / distance near the walls; with the texture wrapped twice around the
// wall, texels are about square 75 pixels from the centre.
constexpr double kDepth = 6144.0;
constexpr int kWrapsAround = 2;
// Towards the vanishing point the depth grows ever more slowly and settles at this many rows:
//   row = kFarthestRow * (1 - exp(-(kDepth / distance) / kFarthestRow))
// so the walls run smoothly into a point, never faster than a few rows per pixel (faster would
// alias into noise), and no disc of a single depth is left to spin in the middle.
constexpr double kFarthestRow = 256.0;
// Keeps the exact centre pixel out of a division by zero; its row is the farthest one anyway.
constexpr double kNearestDistance = 1e-6;

constexpr double kPi = 3.14159265358979323846;

} // namespace

std::vector<uint16_t> makeTunnelTable() {
    std::vector<uint16_t> table;
    table.reserve(size_t(kTunnelScreenWidth) * kTunnelScreenHeight);
    for (int y = 0; y < kTunnelScreenHeight; ++y)
        for (int x = 0; x < kTunnelScreenWidth; ++x) {
            const double dx = x - kCentreX;
            const double dy = (y - kCentreY) * kPixelAspect;
            const double distance = std::max(std::sqrt(dx * dx + dy * dy), kNearestDistance);
            const double turns = std::atan2(dy, dx) / (2.0 * kPi) + 0.5; // 0..1 around the centre
            const double depth = kFarthestRow * (1.0 - std::exp(-kDepth / (distance * kFarthestRow)));
            const int row = int(depth) % kTunnelTextureSize;
            const int column = int(turns * kWrapsAround * kTunnelTextureSize) % kTunnelTextureSize;
            table.push_back(uint16_t(row * kTunnelTextureSize + column));
        }
    return table;
}

std::vector<uint8_t> encodeTunnelTable(const std::vector<uint16_t>& table) {
    std::vector<uint8_t> bytes;
    bytes.reserve(table.size() * 2);
    for (uint16_t value : table) {
        bytes.push_back(uint8_t(value & 0xFF));
        bytes.push_back(uint8_t(value >> 8));
    }
    return bytes;
}

std::string writeTunnelTable(const std::string& outDir) {
    return writeFile(outDir + "/wormtab.dat", encodeTunnelTable(makeTunnelTable()));
}

} // namespace forge
