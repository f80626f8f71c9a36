#pragma once
// Full-screen source and destination buffers with seeded contents for the benchmarks.
#include <cstdint>
#include <random>
#include <vector>

#include "render2d/pixel.h"

constexpr int kBenchWidth = 320;
constexpr int kBenchHeight = 200;
constexpr int kBenchPixels = kBenchWidth * kBenchHeight;

inline std::vector<Pixel> randomScreen(std::uint32_t seed, Pixel fourthByte = 0) {
    std::mt19937 random(seed);
    std::vector<Pixel> pixels(kBenchPixels);
    for (Pixel& p : pixels) p = (random() & kColourMask) | fourthByte;
    return pixels;
}
