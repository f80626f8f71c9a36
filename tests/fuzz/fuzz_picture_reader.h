// The body every picture-reader fuzz target shares: decode with small limits (so each input
// stays quick), then put a decoded picture through a conversion and the screen byte order, which
// read its palette and pixels.
#pragma once

#include "imagelib/bgl_convert.h"
#include "imagelib/bgl_read.h"
#include "imagelib/bgl_transform.h"

#include <cstddef>
#include <cstdint>

using PictureDecoder = bglimage* (*)(const uint8_t*, size_t, const BglReadLimits&);

inline int fuzzPictureReader(PictureDecoder decode, const uint8_t* data, size_t size) {
    // libFuzzer's own lines only: the library prints nothing at all, not even its notes.
    static const bool quiet = [] {
        bgl_set_quiet(1);
        return true;
    }();
    (void)quiet;
    BglReadLimits limits;
    limits.maxSide = 1024;
    limits.maxBytes = uint64_t(1) << 20;
    bglimage* image = decode(data, size, limits);
    if (image) {
        if (bgl_convert_to_32bit(image)) toScreenOrder(image);
        bgl_free_image(image);
    }
    bgl_clear_errors();
    return 0;
}
