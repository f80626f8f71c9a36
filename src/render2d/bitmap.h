#pragma once
// Bitmap: a non-owning view of a rectangle of 32-bit pixels and the source of every copy into a
// destination buffer. A destination is a pixel pointer with its width (also its row pitch) and
// height; (x, y) places the bitmap's top-left pixel and may lie partly or wholly outside.
// A default-constructed (empty) Bitmap draws nothing.
#include "render2d/pixel.h"

struct bglimage;

class Bitmap {
public:
    Pixel* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0; // pixels from one row to the next

    Bitmap() = default;
    Bitmap(Pixel* pixels, int width, int height, int pitch);
    Bitmap(Pixel* pixels, int width, int height);
    // A view of a whole 32-bit picture (pitch = width). A picture of another depth, or none,
    // gives an empty Bitmap rather than a view that reads past its pixels.
    explicit Bitmap(const bglimage* picture);

    bool empty() const { return pixels == nullptr || width <= 0 || height <= 0 || pitch < width; }

    // Opaque copy of whole pixels, fourth byte included.
    void draw(Pixel* dst, int dstWidth, int dstHeight, int x, int y) const;
    // Copies every source pixel except the word 0.
    void drawTransparent(Pixel* dst, int dstWidth, int dstHeight, int x, int y) const;
    // Saturating add per channel.
    void drawAdd(Pixel* dst, int dstWidth, int dstHeight, int x, int y) const;
    // Saturating subtract per channel, skipping source pixels whose blue byte is 0.
    void drawSubtract(Pixel* dst, int dstWidth, int dstHeight, int x, int y) const;
    // Adds the source scaled by level; a level of about 1 and more is drawAdd, a negative or NaN
    // level draws nothing.
    void drawAddScaled(Pixel* dst, int dstWidth, int dstHeight, int x, int y, float level) const;
    // Mixes alpha of the source with the rest of the destination; alpha of about 1 and more is
    // draw, a negative or NaN alpha draws nothing.
    void drawBlend(Pixel* dst, int dstWidth, int dstHeight, int x, int y, float alpha) const;
    // Writes the source scaled by level; a level of about 1 and more is draw, a negative or NaN
    // level draws nothing.
    void drawFaded(Pixel* dst, int dstWidth, int dstHeight, int x, int y, float level) const;
    // Nearest-pixel copy into the rectangle (x0, y0) to (x1, y1), right and bottom exclusive.
    // The last four columns and rows of the source are never sampled, so a source needs at
    // least five of each; smaller sources and non-finite rectangles draw nothing.
    void drawStretched(Pixel* dst, int dstWidth, int dstHeight, float x0, float y0, float x1, float y1) const;
    // Scales red, green and blue of the bitmap's own pixels by factor (truncated) and clears
    // their fourth byte. Factors above 1 saturate; a negative or NaN factor changes nothing.
    void scaleInPlace(float factor) const;
};
