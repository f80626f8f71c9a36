#pragma once
// The one clipped row walker behind every non-stretched copy: clips a bitmap placed at (x, y)
// against a destination of dstWidth x dstHeight pixels (whose row pitch is dstWidth), then hands
// each visible row to a row function.
#include "render2d/bitmap.h"

struct ClippedRows {
    const Pixel* source = nullptr; // first visible source pixel
    Pixel* destination = nullptr;  // where it lands
    int rows = 0;
    int cols = 0;
    int sourcePitch = 0;
    int destinationPitch = 0;
};

// False when no pixel of the bitmap lands inside the destination.
bool clipRows(const Bitmap& bitmap, Pixel* dst, int dstWidth, int dstHeight, int x, int y, ClippedRows& out);

// rowFn(const Pixel* source, Pixel* destination, int count) for each visible row, top to bottom.
template <class RowFn>
void forEachClippedRow(const Bitmap& bitmap, Pixel* dst, int dstWidth, int dstHeight, int x, int y,
                       RowFn rowFn) {
    ClippedRows clip;
    if (!clipRows(bitmap, dst, dstWidth, dstHeight, x, y, clip)) return;
    const Pixel* s = clip.source;
    Pixel* d = clip.destination;
    for (int r = 0; r < clip.rows; ++r, s += clip.sourcePitch, d += clip.destinationPitch)
        rowFn(s, d, clip.cols);
}
