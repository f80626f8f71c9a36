#pragma once
// The per-corner records of the lit block grids: one record per corner of an 8x8-pixel block of
// the 320x200 screen (41 x 26 corners), holding texture coordinates and light factors that the
// block renderer interpolates.
#include <array>
#include <cstdint>

#include "core/fixed_point.h"
#include "core/screen.h"

constexpr int kGridBlockShift = 3;
constexpr int kGridBlockSize = 1 << kGridBlockShift; // pixels per block side
constexpr int kGridBlockColumns = kScreenWidth / kGridBlockSize;
constexpr int kGridBlockRows = kScreenHeight / kGridBlockSize;
constexpr int kGridColumns = kGridBlockColumns + 1;
// One more corner row than the 25 block rows need: the renderer never reads the last one.
constexpr int kGridRows = 26;
constexpr int kGridCorners = kGridColumns * kGridRows;

// Texture coordinates are 16.16 fixed point over a 256x256 texture; light factors are 8.8
// (65,280 is 255.0), so (factor x texel byte) >> 16 is the lit byte.
constexpr int kLitShift = kShortFracBits + 8;
constexpr int kGridTextureMask = kTextureSide - 1;

struct GridCorner {
    std::int32_t along = 0;  // 16.16 texture column
    std::int32_t around = 0; // 16.16 texture row
    std::int32_t lightRed = 0;
    std::int32_t lightGreen = 0;
    std::int32_t lightBlue = 0;
};

// Row-major, top row first; zeroed until a compute fills them.
using GridCorners = std::array<GridCorner, kGridCorners>;
