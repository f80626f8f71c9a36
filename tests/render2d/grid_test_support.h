#pragma once
// Textures and corner helpers for the lit grid tests.
#include <cstdint>
#include <functional>
#include <memory>

#include "imagelib/bgl_image.h"
#include "render2d/grid_corner.h"
#include "render2d/pixel.h"

struct PictureDeleter {
    void operator()(bglimage* image) const { bgl_free_image(image); }
};
using Picture = std::unique_ptr<bglimage, PictureDeleter>;

// A 32-bit picture of width x height whose pixel (x, y) is texel(x, y).
inline Picture makePicture(int width, int height, const std::function<Pixel(int, int)>& texel) {
    Picture picture(
        bgl_create_image(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 32, 0));
    auto* pixels = reinterpret_cast<Pixel*>(picture->image);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[y * width + x] = texel(x, y);
    return picture;
}

inline Picture uniformTexture(Pixel colour) {
    return makePicture(kTextureSide, kTextureSide, [colour](int, int) { return colour; });
}

// Texel (column, row) = makePixel(0, row, column): a pixel shows which texel it read.
inline Picture coordinateTexture() {
    return makePicture(kTextureSide, kTextureSide, [](int x, int y) { return makePixel(0, y, x); });
}

inline int textureColumn(const GridCorner& c) {
    return (static_cast<std::uint32_t>(c.along) >> kFracBits) & kGridTextureMask;
}
inline int textureRow(const GridCorner& c) {
    return (static_cast<std::uint32_t>(c.around) >> kFracBits) & kGridTextureMask;
}

inline bool sameCorner(const GridCorner& a, const GridCorner& b) {
    return a.along == b.along && a.around == b.around && a.lightRed == b.lightRed &&
           a.lightGreen == b.lightGreen && a.lightBlue == b.lightBlue;
}

// FNV-1a over the pixels' colour bytes.
inline std::uint32_t frameChecksum(const Pixel* pixels, int count) {
    std::uint32_t hash = 2166136261u;
    for (int i = 0; i < count; ++i) {
        for (int shift : {kBlueShift, kGreenShift, kRedShift}) {
            hash ^= (pixels[i] >> shift) & 0xFFu;
            hash *= 16777619u;
        }
    }
    return hash;
}
