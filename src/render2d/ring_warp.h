#pragma once
// RingWarp: a large picture seen through moving water. Three sets of concentric, rippled rings,
// each centred on a point that wanders over the screen, add up (through the wave profile) to a
// displacement that shifts each screen pixel's source diagonally. Both tables are built once;
// every frame the caller sets the four offsets and reads warped pixels through sourceIndex().
#include <cstdint>
#include <vector>

#include "imagelib/bgl_image.h"
#include "render2d/pixel.h"

constexpr int kWarpPictureWidth = 640; // the picture is read as this many pixels per row
constexpr int kRingsWidth = 640;
constexpr int kRingsHeight = 400;
constexpr int kRingsSize = kRingsWidth * kRingsHeight;
constexpr int kWaveProfile = 256;
constexpr int kWaveSize = 4 * kWaveProfile; // the sum of three ring bytes indexes it directly

// The source pixel number moves this much for a displacement of one: one row down, one column on.
constexpr int kWarpDiagonal = kWarpPictureWidth + 1;

// The ring offsets that keep every lookup of a 320x200 view inside `rings`: the view reads rows 1
// to 200 of the table from each offset.
constexpr int kMinRingOffset = -kRingsWidth;
constexpr int kMaxRingOffset = kRingsSize - 1 - (kScreenHeight * kRingsWidth + kScreenWidth - 1);

struct WarpOffsets {
    int pictureOffset;
    int ringOffset1;
    int ringOffset2;
    int ringOffset3;
};

// The four offsets at time t (hundredths of a second): the view wanders within rows 50 to 150 and
// columns 110 to 290 of the picture, the ring centres within rows 10 to 190, columns 40 to 280.
WarpOffsets warpOffsetsAt(float t);

class RingWarp {
public:
    // Builds the tables over picture (32 bits deep, frame-buffer order). A missing picture, or one of
    // another depth, reads as a single black pixel.
    explicit RingWarp(const bglimage* picture);

    // Sets the four offsets; ring offsets are held inside `rings` (see kMinRingOffset).
    void setOffsets(const WarpOffsets& offsets);

    // The displacement of screen pixel (x, y): -32..32.
    int displacement(int x, int y) const {
        const int k = (y + 1) * kRingsWidth + x;
        const int s = rings[k + ringOffset1] + rings[k + ringOffset2] + rings[k + ringOffset3];
        return wave[s];
    }
    // The picture pixel number seen at screen pixel (x, y) with displacement d, held inside the
    // picture: pictures smaller than the view's reach (640 x 382) repeat their first or last pixel.
    int sourceIndex(int x, int y, int d) const {
        const int index = y * kWarpPictureWidth + x + d * kWarpDiagonal + pictureOffset;
        return index < 0 ? 0 : (index > lastPixel ? lastPixel : index);
    }
    Pixel warpedPixel(int x, int y) const { return pixels[sourceIndex(x, y, displacement(x, y))]; }

    const bglimage* picture;
    const Pixel* pixels; // the picture's pixels, or one black pixel
    int lastPixel;       // the last valid pixel number
    std::int8_t wave[kWaveSize];
    std::vector<std::uint8_t> rings; // kRingsHeight rows of kRingsWidth
    int pictureOffset = 0;
    int ringOffset1 = 0;
    int ringOffset2 = 0;
    int ringOffset3 = 0;
};
