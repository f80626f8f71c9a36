// TGA reader: colour-mapped, true-colour and greyscale pictures, uncompressed or run-length
// encoded, in any of the four pixel orders. 32-bit pictures keep their alpha in the first byte.
#pragma once

#include "imagelib/bgl_image.h"
#include "imagelib/bgl_read.h"

bglimage* bgl_load_tga(const char* filename);
// The same reader over bytes already in memory.
bglimage* bgl_decode_tga(const uint8_t* data, size_t size, const BglReadLimits& limits = {});
