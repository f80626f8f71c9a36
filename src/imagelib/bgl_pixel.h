// Reading and packing the library's pixel layouts; shared by conversions and filters.
#pragma once

#include "imagelib/bgl_image.h"

#include <cstdint>

struct BglRgb {
    uint8_t r, g, b;
};

// 5:6:5, high byte first. Expansion leaves the low bits zero: white becomes (248, 252, 248).
inline uint16_t bgl_read_565(const uint8_t* p) {
    return uint16_t((p[0] << 8) | p[1]);
}
inline BglRgb bgl_expand_565(uint16_t v) {
    return {uint8_t(((v >> 11) & 31) << 3), uint8_t(((v >> 5) & 63) << 2), uint8_t((v & 31) << 3)};
}
// Packing truncates the low bits, never rounds.
inline uint16_t bgl_pack_565(uint8_t r, uint8_t g, uint8_t b) {
    return uint16_t(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}
inline void bgl_write_565(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v & 0xFF);
}

// A palette index at or beyond the palette reads as black rather than past the palette.
inline BglRgb bgl_palette_color(const bglimage* image, uint8_t index) {
    if (index >= image->palette_size) return {0, 0, 0};
    const uint8_t* entry = image->palette + index * 3;
    return {entry[0], entry[1], entry[2]};
}

// Calls visit(BglRgb, pixelIndex) for every pixel of `source` (depth 8, 16, 24 or 32), with the
// depth decided once per picture rather than per pixel. Returns false for any other depth.
template <typename Visit> bool bgl_for_each_rgb(const bglimage* source, Visit&& visit) {
    const uint64_t count = uint64_t(source->width) * source->height;
    const uint8_t* p = source->image;
    switch (source->bits_per_pixel) {
        case 8:
            for (uint64_t i = 0; i < count; ++i, ++p) visit(bgl_palette_color(source, *p), i);
            return true;
        case 16:
            for (uint64_t i = 0; i < count; ++i, p += 2) visit(bgl_expand_565(bgl_read_565(p)), i);
            return true;
        case 24:
            for (uint64_t i = 0; i < count; ++i, p += 3) visit(BglRgb{p[0], p[1], p[2]}, i);
            return true;
        case 32:
            for (uint64_t i = 0; i < count; ++i, p += 4) visit(BglRgb{p[1], p[2], p[3]}, i);
            return true;
        default:
            return false;
    }
}

inline bool bgl_is_supported_depth(int bitsPerPixel) {
    return bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
}
