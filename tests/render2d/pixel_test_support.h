#pragma once
// Small pixel buffers with seeded contents for the render2d tests.
#include <cstdint>
#include <random>
#include <vector>

#include "render2d/bitmap.h"

struct Canvas {
    int width;
    int height;
    std::vector<Pixel> pixels;

    Canvas(int w, int h, Pixel fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
    Pixel& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    Pixel at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    Bitmap bitmap() { return Bitmap(pixels.data(), width, height); }
};

// Every byte random, fourth byte included; about one pixel in eight is 0 or has a blue byte of 0,
// so the colour-keyed and subtractive copies meet their special cases.
inline void fillRandom(Canvas& canvas, std::uint32_t seed) {
    std::mt19937 random(seed);
    for (Pixel& p : canvas.pixels) {
        p = random();
        switch (random() % 16) {
            case 0:
                p = 0;
                break;
            case 1:
                p &= 0xFFFFFF00u;
                break;
            default:
                break;
        }
    }
}
