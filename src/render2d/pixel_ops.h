#pragma once
// The per-pixel operations of the blending copies: each maps (source, destination) to the new
// destination pixel. The row kernels (row_kernels.h) apply them, four pixels at a time where they
// can, and finish each row with the operation itself.
#include <algorithm>

#include "render2d/level.h"
#include "render2d/pixel.h"

// Whole source word unless it is 0 (a pixel with only the fourth byte set is drawn).
struct TransparentOp {
    Pixel operator()(Pixel s, Pixel d) const { return s != 0 ? s : d; }
};

// d = min(d + s, 255)
struct AddOp {
    Pixel operator()(Pixel s, Pixel d) const {
        return combineChannels(s, d, [](int sc, int dc) { return std::min(dc + sc, kChannelMax); });
    }
};

// d = max(d - s, 0); a source pixel whose blue byte is 0 leaves the destination untouched.
struct SubtractOp {
    Pixel operator()(Pixel s, Pixel d) const {
        if (blueOf(s) == 0) return d;
        return combineChannels(s, d, [](int sc, int dc) { return std::max(dc - sc, 0); });
    }
};

// d = min(d + ((k * s) >> 8), 255)
struct AddScaledOp {
    int weight;
    Pixel operator()(Pixel s, Pixel d) const {
        const int k = weight;
        return combineChannels(
            s, d, [k](int sc, int dc) { return std::min(dc + ((k * sc) >> kWeightShift), kChannelMax); });
    }
};

// d = ((k * s) >> 8) + (((255 - k) * d) >> 8)
struct BlendOp {
    int weight;
    Pixel operator()(Pixel s, Pixel d) const {
        const int k = weight;
        return combineChannels(s, d, [k](int sc, int dc) {
            return ((k * sc) >> kWeightShift) + (((kFullWeight - k) * dc) >> kWeightShift);
        });
    }
};

// d = (k * s) >> 8
struct FadedOp {
    int weight;
    Pixel operator()(Pixel s, Pixel d) const {
        const int k = weight;
        return combineChannels(s, d, [k](int sc, int) { return (k * sc) >> kWeightShift; });
    }
};
