#pragma once
// Seeded 32-bit pictures (bgl records) for the zoomer and warp tests, freed on scope exit.
#include <cstdint>
#include <memory>
#include <random>

#include "imagelib/bgl_image.h"
#include "render2d/pixel.h"

struct PictureDeleter {
    void operator()(bglimage* image) const { bgl_free_image(image); }
};
using Picture = std::unique_ptr<bglimage, PictureDeleter>;

inline Pixel* picturePixels(const Picture& picture) {
    return reinterpret_cast<Pixel*>(picture->image);
}

// A 32-bit picture whose every byte is random.
inline Picture randomPicture(int width, int height, std::uint32_t seed) {
    Picture picture(bgl_create_image(static_cast<uint16_t>(width), static_cast<uint16_t>(height), 32, 0));
    std::mt19937 random(seed);
    Pixel* p = picturePixels(picture);
    for (int i = 0; i < width * height; ++i) p[i] = random();
    return picture;
}
