// Whole-picture geometric and colour operations, in place, and the program's byte order for the
// framebuffer.
#pragma once

#include "imagelib/bgl_image.h"

// Nearest-pixel scaling: output pixel (k, j) takes source pixel (trunc(fx*k), trunc(fy*j)).
int bgl_scale_size(uint16_t new_width, uint16_t new_height, bglimage* image);
int bgl_scale_by(float factor_x, float factor_y, bglimage* image);
int bgl_invert_color(bglimage* image);
// Mirrors about the vertical axis: left and right change places.
int bgl_flip_vertical(bglimage* image);
// Mirrors about the horizontal axis: top and bottom change places.
int bgl_flip_horizontal(bglimage* image);

// Brings library pixels into framebuffer order: 24-bit (r, g, b) -> (b, g, r); 32-bit
// (u, r, g, b) -> (b, g, r, b), so that a pixel is the word 0 exactly when it is black.
// Other depths are left alone. Always returns 0.
int toScreenOrder(bglimage* image);
