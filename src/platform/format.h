#pragma once
#include <cstdint>

// A pixel layout: bits per pixel and the channel masks.
struct Format {
    int bits = 32;
    std::uint32_t redMask = 0xff0000;
    std::uint32_t greenMask = 0xff00;
    std::uint32_t blueMask = 0xff;
    std::uint32_t alphaMask = 0;

    Format() = default;
    Format(int bitsPerPixel, std::uint32_t red, std::uint32_t green, std::uint32_t blue, std::uint32_t alpha)
        : bits(bitsPerPixel), redMask(red), greenMask(green), blueMask(blue), alphaMask(alpha) {}

    // The only layout the show draws in: 0x00RRGGBB, bytes in memory blue, green, red, unused.
    bool isScreenFormat() const {
        return bits == 32 && redMask == 0xff0000 && greenMask == 0xff00 && blueMask == 0xff && alphaMask == 0;
    }
    bool operator==(const Format& other) const {
        return bits == other.bits && redMask == other.redMask && greenMask == other.greenMask &&
               blueMask == other.blueMask && alphaMask == other.alphaMask;
    }
};
