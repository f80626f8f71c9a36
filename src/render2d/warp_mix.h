#pragma once
// The warps' per-pixel passes: a soft, wavy edge divides each 320x200 frame into a part showing
// one layer (mask 255), a ramp 32 pixels wide mixing it with the warped picture, and a part
// showing the warped picture alone (mask 0).
//
// Edge mask of a row with edge column e: columns left of e are 255; from e on a ramp
// 255, 247, 239, ... (falling by 8, kept in a byte) up to column e + 31 but never beyond column 318;
// later columns are 0. An edge of 320 or more makes the whole row 255. A mask value v mixes the
// layers as (A * v + B * (255 - v)) >> 8 per channel, A being the layer of 255.
//
// The passes come twice: a plain one that writes the mask into the frame and then picks each
// pixel by its mask value, and the one the effects run, which walks each row's three spans
// without looking at a mask. Both give the same frame.
#include "render2d/pixel.h"
#include "render2d/ring_warp.h"

constexpr int kEdgeRampWidth = 32;
constexpr int kEdgeRampStep = 8;
constexpr int kEdgeLastRampColumn = kScreenWidth - 2; // the last column never takes the ramp
constexpr int kMaskFull = 255;

// The mask value of column `column` in a row whose edge stands at column `edge`.
int edgeMaskAt(int column, int edge);

// The spans of one row: columns below fullEnd are 255, columns from fullEnd below rampEnd ramp
// down, the rest are 0.
struct EdgeSpans {
    int fullEnd;
    int rampEnd;
};
EdgeSpans edgeSpans(int edge);

// Per channel (a * v + b * (255 - v)) >> 8; the fourth byte of the result is 0.
inline Pixel mixPixels(Pixel a, Pixel b, int v) {
    constexpr Pixel kRedBlue = 0x00FF00FFu;
    constexpr Pixel kGreen = 0x0000FF00u;
    const Pixel w = static_cast<Pixel>(v);
    const Pixel rest = static_cast<Pixel>(kMaskFull - v);
    // Each lane's sum stays below 65536, so the red and blue lanes never carry into each other.
    const Pixel redBlue = ((a & kRedBlue) * w + (b & kRedBlue) * rest) >> 8;
    const Pixel green = ((a & kGreen) * w + (b & kGreen) * rest) >> 8;
    return (redBlue & kRedBlue) | (green & kGreen);
}

// Writes the mask of every row (edges[row], kScreenHeight rows) into a 320x200 buffer, one
// value per pixel word.
void writeEdgeMask(Pixel* buffer, const int* edges);

// The warped picture of `warp` where the mask is 0, `still` (a 320x200 buffer) where it is 255.
// Plain form: buffer holds the mask and receives the frame.
void warpOverStillPlain(Pixel* buffer, const RingWarp& warp, const Pixel* still);
void warpOverStill(Pixel* dst, const int* edges, const RingWarp& warp, const Pixel* still);

// Two warped pictures under the same displacement and offsets: `zeroWarp` where the mask is 0,
// `fullWarp` where it is 255.
void warpOverWarpPlain(Pixel* buffer, const RingWarp& zeroWarp, const RingWarp& fullWarp);
void warpOverWarp(Pixel* dst, const int* edges, const RingWarp& zeroWarp, const RingWarp& fullWarp);
