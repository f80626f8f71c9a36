// Gradient noise and the fractal sums built from it. Coordinates are in lattice cells; with a
// period, the noise repeats every `period` cells, which makes tileable textures.
#pragma once

#include <array>
#include <cstdint>

namespace forge {

class Noise {
public:
    explicit Noise(uint64_t seed);

    // Gradient noise in about -1..1; period 0 means no repetition.
    float gradient(float x, float y, int period = 0) const;
    // Fractal sum of octaves, each twice the frequency and half the weight; about -1..1.
    float fbm(float x, float y, int octaves, int period = 0) const;
    // Ridges: 1 - |noise| summed, sharp bright lines; about 0..1.
    float ridged(float x, float y, int octaves, int period = 0) const;
    // Domain-warped fractal noise (the sample point is pushed by two further fractal fields),
    // giving the swirling filaments of gas clouds; about -1..1. `warpX`/`warpY` return the
    // displacement used, which callers use for colour variation.
    float warped(float x, float y, int octaves, float strength, float* warpX = nullptr,
                 float* warpY = nullptr, int period = 0) const;

private:
    std::array<uint8_t, 512> permutation{};
};

} // namespace forge
