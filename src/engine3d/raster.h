// The frame the 3D engine draws into, its fixed-point scales and the row-offset table.
#pragma once

#include <array>
#include <cstdint>

// The back buffer: 320x200 32-bit pixels 0x00RRGGBB, no padding between rows.
constexpr int kRasterWidth = 320;
constexpr int kRasterHeight = 200;

// Textures are 256x256 32-bit pixels in the framebuffer's byte order; coordinates wrap.
constexpr int kTextureSide = 256;
constexpr int kTexelCount = kTextureSide * kTextureSide;

// Edge walkers step in 16.16, span loops in 8.8.
constexpr int kFracBits = 16;
constexpr int kSpanFracBits = 8;
constexpr int64_t kFixedOne = int64_t(1) << kFracBits;
// Texture coordinates from the file: 1.0 is texel 255.
constexpr double kTexelScale = 255.0;

// Entry y is y * kRasterWidth. row_offsets_init fills it at start-up; it is also filled from
// the start, so that nothing drawn earlier (tests, tools) lands on the wrong rows.
extern std::array<int32_t, kRasterHeight> row_offsets;

void row_offsets_init();

// Truncates toward zero and keeps the low 32 bits, as a 16.16 value that only feeds wrapping
// texture addresses may: huge coordinates wrap instead of overflowing. Not finite: 0.
int32_t wrap_to_int32(double value);
