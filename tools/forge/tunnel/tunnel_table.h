// The tunnel's lookup table "wormtab.dat": for each screen pixel, the texel of a 256x256 texture
// seen there in a perspective tunnel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace forge {

constexpr int kTunnelScreenWidth = 320;
constexpr int kTunnelScreenHeight = 200;
constexpr int kTunnelTextureSize = 256;

// Texel numbers (row x 256 + column), one per screen pixel in row-major order.
std::vector<uint16_t> makeTunnelTable();

// The file form: the same entries as 16-bit little-endian values, no header.
std::vector<uint8_t> encodeTunnelTable(const std::vector<uint16_t>& table);

std::string writeTunnelTable(const std::string& outDir);

} // namespace forge
