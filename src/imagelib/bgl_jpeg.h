// JPEG reading (baseline and progressive, greyscale or colour) and writing, through libjpeg.
#pragma once

#include "imagelib/bgl_image.h"
#include "imagelib/bgl_read.h"

// Greyscale files give 8-bit pictures with a 256-entry grey ramp; colour files give 24 bits.
bglimage* bgl_load_jpg(const char* filename);
// The same reader over bytes already in memory.
bglimage* bgl_decode_jpg(const uint8_t* data, size_t size, const BglReadLimits& limits = {});

// Writes a 24- or 32-bit picture (the unused byte of 32-bit pixels is dropped). 1 on success.
int bgl_save_jpg(const char* filename, bglimage* image);
// Quality of every later save (initially 75).
void bgl_set_jpeg_quality(int quality);
