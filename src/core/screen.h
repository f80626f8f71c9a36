#pragma once
// The show's screen and texture shapes, named once for every subsystem.
#include <cstdint>

// One pixel of the back buffer and of every 32-bit picture: 0x00RRGGBB in a 32-bit word, so in
// memory blue, green, red, then a fourth byte.
using Pixel = std::uint32_t;

// The back buffer every effect draws: 320x200 pixels, no padding between rows.
inline constexpr int kScreenWidth = 320;
inline constexpr int kScreenHeight = 200;
inline constexpr int kScreenPixels = kScreenWidth * kScreenHeight;
// Bits per pixel of the back buffer and of a picture prepared for it.
inline constexpr int kScreenDepth = 32;

// Textures of the grids, the tunnel and the 3D fillers: 256x256 texels whose coordinates wrap.
inline constexpr int kTextureSide = 256;
inline constexpr int kTextureTexels = kTextureSide * kTextureSide;
