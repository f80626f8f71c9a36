#pragma once
// A picture seen as a whole 320x200 screen, for the effects that lay a still picture under their
// frame. A picture that is exactly 320 pixels wide and at least 200 rows tall is viewed in place;
// any other is copied once into a screen-sized block, cropped, with black where it does not
// reach, so no frame keeps stale pixels outside a small picture or reads past its end.
#include <vector>

#include "core/screen.h"
#include "render2d/bitmap.h"

struct bglimage;

class ScreenPicture {
public:
    // picture: 32 bits deep, framebuffer order.
    void assign(const bglimage* picture);

    // kScreenWidth x kScreenHeight, pitch kScreenWidth.
    const Pixel* pixels() const { return bitmap.pixels; }

    Bitmap bitmap;
    std::vector<Pixel> copy; // used when the picture does not cover the screen exactly
};
