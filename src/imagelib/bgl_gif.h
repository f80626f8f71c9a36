// GIF reader (87a and 89a): the first image of the file as an 8-bit picture with the global
// colour table. Extensions are skipped, later images decoded and dropped, interlaced rows put back
// in order.
#pragma once

#include "imagelib/bgl_image.h"
#include "imagelib/bgl_read.h"

bglimage* bgl_load_gif(const char* filename);
// The same reader over bytes already in memory.
bglimage* bgl_decode_gif(const uint8_t* data, size_t size, const BglReadLimits& limits = {});
