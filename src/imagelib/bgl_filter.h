// In-place softening filters and the tiler, which makes a picture wrap seamlessly. Every byte of
// a pixel is filtered on its own; 16-bit pictures go through 24 bits and back.
#pragma once

#include "imagelib/bgl_image.h"

// Five-point soften (centre and its four neighbours).
int bgl_blur(bglimage* image);
// 3x3 box soften.
int bgl_blur_more(bglimage* image);
// Cross-fades the picture with itself shifted by half its size, so opposite edges meet.
int bgl_tiler(bglimage* image);
// The share of byte `value` that pixel (x, y) of a width x height picture keeps in the tiler.
int bgl_tiler_weight(int width, int height, int x, int y, int value);
