#pragma once
// Whole rows of the colour-keyed, additive and weighted copies. Each gives exactly the result of its
// per-pixel operation in pixel_ops.h, four pixels at a time where SSE2 is available.
#include "render2d/pixel.h"

// d = s unless the whole word s is 0 (TransparentOp).
void transparentRow(const Pixel* source, Pixel* destination, int count);
// d = min(d + s, 255) per channel (AddOp).
void addRow(const Pixel* source, Pixel* destination, int count);
// d = max(d - s, 0) per channel, except where the source's blue byte is 0 (SubtractOp).
void subtractRow(const Pixel* source, Pixel* destination, int count);
// d = min(d + ((k * s) >> 8), 255) per channel (AddScaledOp), k in 0..255.
void addScaledRow(const Pixel* source, Pixel* destination, int count, int weight);
// d = ((k * s) >> 8) + (((255 - k) * d) >> 8) per channel (BlendOp), k in 0..255.
void blendRow(const Pixel* source, Pixel* destination, int count, int weight);
// d = (k * s) >> 8 per channel (FadedOp), k in 0..255.
void fadedRow(const Pixel* source, Pixel* destination, int count, int weight);
