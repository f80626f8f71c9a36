#pragma once
// The framebuffer's pixel: 0x00RRGGBB in a 32-bit word, so in memory blue, green, red, then a
// fourth byte that the copies keep from the destination unless they say otherwise.
#include <cstdint>
#include <initializer_list>

#include "core/screen.h"

constexpr Pixel kColourMask = 0x00FFFFFFu;
constexpr Pixel kFourthByteMask = 0xFF000000u;
constexpr int kChannelMax = 255;
constexpr int kBlueShift = 0;
constexpr int kGreenShift = 8;
constexpr int kRedShift = 16;

constexpr int blueOf(Pixel p) {
    return static_cast<int>((p >> kBlueShift) & 0xFFu);
}
constexpr int greenOf(Pixel p) {
    return static_cast<int>((p >> kGreenShift) & 0xFFu);
}
constexpr int redOf(Pixel p) {
    return static_cast<int>((p >> kRedShift) & 0xFFu);
}

constexpr Pixel makePixel(int red, int green, int blue) {
    return (static_cast<Pixel>(red & 0xFF) << kRedShift) | (static_cast<Pixel>(green & 0xFF) << kGreenShift) |
           (static_cast<Pixel>(blue & 0xFF) << kBlueShift);
}

// Applies fn(sourceChannel, destinationChannel) -> 0..255 to blue, green and red alike and keeps
// the destination's fourth byte.
template <class ChannelFn> inline Pixel combineChannels(Pixel s, Pixel d, ChannelFn fn) {
    Pixel out = d & kFourthByteMask;
    for (int shift : {kBlueShift, kGreenShift, kRedShift}) {
        const int sc = static_cast<int>((s >> shift) & 0xFFu);
        const int dc = static_cast<int>((d >> shift) & 0xFFu);
        out |= static_cast<Pixel>(fn(sc, dc)) << shift;
    }
    return out;
}
