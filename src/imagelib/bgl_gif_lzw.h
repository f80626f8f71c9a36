// LZW decoding of one GIF image's data sub-blocks.
#pragma once

#include "imagelib/bgl_read.h"

#include <cstdint>

// Decodes the image data at the cursor (minimum code size, then sub-blocks) into width*height
// bytes of `raster`. Stops at the end code, when the raster is full after a block, or at the
// zero-length block. 1 on success; 0 for a broken code stream (a message may be pushed).
int gif_decode(ByteCursor& in, uint8_t* raster, int width, int height);
