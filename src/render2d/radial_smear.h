#pragma once
// Smears a 320x200 buffer outward from a centre, in place: every pixel is mixed with a bilinear
// sample taken a fixed distance closer to the centre. Pixels are visited from the centre outward,
// so each sample already holds smeared colour and bright parts throw lengthening rays.
#include <cstdint>
#include <vector>

#include "render2d/pixel.h"

class RadialSmear {
public:
    // Centre (160, 100), weights 128 and 128, the whole buffer as bounds, and no offsets yet (all
    // samples at the top-left corner until buildOffsets runs).
    RadialSmear();
    virtual ~RadialSmear();

    // Sets the centre and, for every pixel, the 16.16 position of its sample: distance (16.16
    // pixels) from the pixel towards the centre. The centre pixel samples at (0, 0). Samples are
    // held inside the buffer so that the 2x2 block each one reads exists.
    void buildOffsets(int cx, int cy, int distance);
    // Weights of the old pixel and of the sample, in 256ths (each held to 0..256).
    void setWeights(int keep, int mix);
    // The processed rectangle: row top and column left stay untouched; held to the buffer.
    void setBounds(int left, int top, int right, int bottom);

    // Smears the 320x200 buffer (pitch 320) in place; the fourth bytes are kept. apply works on
    // the three channels of a pixel at once where SSE2 is available; applyPlain, one channel at a
    // time, gives the same pixels.
    void apply(Pixel* pixels) const;
    void applyPlain(Pixel* pixels) const;

    struct Offset {
        std::int32_t x; // 16.16
        std::int32_t y;
    };

    int centreX = kScreenWidth / 2;
    int centreY = kScreenHeight / 2;
    int keep = 128;
    int mix = 128;
    std::vector<Offset> offsets; // kScreenWidth x kScreenHeight, row by row
    int right = kScreenWidth;
    int bottom = kScreenHeight;
    int left = 0;
    int top = 0;

private:
    template <class SmearPixel> void walkOutward(Pixel* pixels, SmearPixel smearPixel) const;
    void smearPixelPlain(Pixel* pixels, int index) const;
};
