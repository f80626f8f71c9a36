// Pixel-format conversions, in place: the record stays, its depth and buffers change.
#pragma once

#include "imagelib/bgl_image.h"

int bgl_convert_to_32bit(bglimage* image);
int bgl_convert_to_24bit(bglimage* image);
int bgl_convert_to_16bit(bglimage* image);
// 8 bits with a 256-entry grey ramp.
int bgl_convert_to_grayscale(bglimage* image);
// 8 bits with the fixed 216-entry colour cube, no dithering.
int bgl_convert_to_8bit(bglimage* image);

// Index of the nearest entry of the 216-colour cube (city-block distance, lowest index on ties).
int bgl_nearest_cube_color(int red, int green, int blue);
