#include "render2d/zoom_mask.h"

namespace {

constexpr int kWholeLevel = 255; // from this level on the mask is taken whole
constexpr int kOne = 256;        // (byte * 256) >> 8 leaves the byte as it is
constexpr int kShift = 8;

// The level as a factor over 256: 0..254 as they are, whole (256) above, negative as 0.
int levelFactor(int level) {
    if (level < 0) return 0;
    return level < kWholeLevel ? level : kOne;
}

} // namespace

void darkenByMaskPlain(Pixel* frame, const Pixel* mask, int level, int count) {
    const bool whole = level >= kWholeLevel;
    for (int i = 0; i < count; ++i) {
        const Pixel p = frame[i];
        if (blueOf(p) == 0) continue;
        int m = greenOf(mask[i]);
        if (!whole) m = level < 0 ? 0 : (m * level) >> kShift;
        const int g = kChannelMax - m;
        frame[i] = (p & kFourthByteMask) |
                   makePixel((redOf(p) * g) >> kShift, (greenOf(p) * g) >> kShift, (blueOf(p) * g) >> kShift);
    }
}

void darkenByMask(Pixel* frame, const Pixel* mask, int level, int count) {
    constexpr Pixel kRedBlue = 0x00FF00FFu;
    constexpr Pixel kGreen = 0x0000FF00u;
    const Pixel factor = static_cast<Pixel>(levelFactor(level));
    for (int i = 0; i < count; ++i) {
        const Pixel p = frame[i];
        const Pixel m = (((mask[i] & kGreen) >> kGreenShift) * factor) >> kShift;
        // A pixel with blue byte 0 keeps its bytes: its multiplier is 256 instead of 255 - m.
        const Pixel keep = static_cast<Pixel>((p & 0xFFu) == 0);
        const Pixel g = (kChannelMax - m) + keep * (m + 1);
        // Red and blue share one multiply: each lane's product stays below 65536.
        const Pixel redBlue = (((p & kRedBlue) * g) >> kShift) & kRedBlue;
        const Pixel green = (((p & kGreen) * g) >> kShift) & kGreen;
        frame[i] = (p & kFourthByteMask) | redBlue | green;
    }
}
