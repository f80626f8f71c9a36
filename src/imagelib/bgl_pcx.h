// PCX reader: run-length encoded, one plane of 8 bits (with the 256-colour palette that follows
// the marker byte 12, 769 bytes before the end) or three planes of 8 bits (24-bit).
#pragma once

#include "imagelib/bgl_image.h"
#include "imagelib/bgl_read.h"

bglimage* bgl_load_pcx(const char* filename);
// The same reader over bytes already in memory.
bglimage* bgl_decode_pcx(const uint8_t* data, size_t size, const BglReadLimits& limits = {});
