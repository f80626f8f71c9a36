#pragma once
// The per-corner records of the lit block grids: one record per corner of an 8x8-pixel block of
// the 320x200 screen (41 x 26 corners), holding texture coordinates and light factors that the
// block renderer interpolates.
#include <array>
#include <cstdint>

constexpr int kGridScreenWidth = 320;
constexpr int kGridScreenHeight = 200;
constexpr int kGridBlockShift = 3;
constexpr int kGridBlockSize = 1 << kGridBlockShift; // pixels per block side
constexpr int kGridBlockColumns = kGridScreenWidth / kGridBlockSize;
constexpr int kGridBlockRows = kGridScreenHeight / kGridBlockSize;
constexpr int kGridColumns = kGridBlockColumns + 1;
// One more corner row than the 25 block rows need: the renderer never reads the last one.
constexpr int kGridRows = 26;
constexpr int kGridCorners = kGridColumns * kGridRows;

// Texture coordinates are 16.16 fixed point over a 256x256 texture; light factors are 8.8
// (65,280 is 255.0), so (factor x texel byte) >> 16 is the lit byte.
constexpr int kTexCoordFracBits = 16;
constexpr int kLightFracBits = 8;
constexpr int kLitShift = 16;
constexpr int kGridTextureSide = 256;
constexpr int kGridTextureMask = kGridTextureSide - 1;

struct GridCorner {
    std::int32_t along = 0;  // 16.16 texture column
    std::int32_t around = 0; // 16.16 texture row
    std::int32_t lightRed = 0;
    std::int32_t lightGreen = 0;
    std::int32_t lightBlue = 0;
};

// Row-major, top row first; zeroed until a compute fills them.
using GridCorners = std::array<GridCorner, kGridCorners>;
