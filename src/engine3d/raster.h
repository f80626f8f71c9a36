// The frame the 3D engine draws into (the 320x200 back buffer of core/screen.h; textures are
// 256x256 32-bit pixels in the framebuffer's byte order whose coordinates wrap) and its
// row-offset table. Edge walkers step in 16.16, span loops in 8.8 (core/fixed_point.h).
#pragma once

#include <array>
#include <cstdint>

#include "core/fixed_point.h"
#include "core/screen.h"

// Texture coordinates from the file: 1.0 is texel 255.
constexpr double kTexelScale = 255.0;

// Entry y is y * kScreenWidth. row_offsets_init fills it at start-up; it is also filled from
// the start, so that nothing drawn earlier (tests, tools) lands on the wrong rows.
extern std::array<int32_t, kScreenHeight> row_offsets;

void row_offsets_init();
