#include "render2d/warp_mix.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kByteMask = 0xFF;

// Layer A of the plain and span passes: a still 320x200 picture, the same pixel as the screen's.
struct StillLayer {
    const Pixel* pixels;
    Pixel at(int x, int y, int) const { return pixels[y * kScreenWidth + x]; }
};

// Layer A as a second warped picture, displaced like the first.
struct WarpLayer {
    const RingWarp& warp;
    Pixel at(int x, int y, int d) const { return warp.pixels[warp.sourceIndex(x, y, d)]; }
};

template <class Layer> void mixByMask(Pixel* buffer, const RingWarp& warp, const Layer& layer) {
    for (int y = 0; y < kScreenHeight; ++y) {
        Pixel* row = buffer + y * kScreenWidth;
        for (int x = 0; x < kScreenWidth; ++x) {
            const int v = static_cast<int>(row[x]);
            const int d = warp.displacement(x, y);
            const Pixel b = warp.pixels[warp.sourceIndex(x, y, d)];
            if (v == 0)
                row[x] = b;
            else if (v == kMaskFull)
                row[x] = layer.at(x, y, d);
            else
                row[x] = mixPixels(layer.at(x, y, d), b, v);
        }
    }
}

// Walks one row's three spans. The displacement lookups are inlined here rather than going through
// RingWarp's per-pixel helpers so that the ring rows are stepped by pointer.
template <class FullSpan, class Layer>
void mixBySpans(Pixel* dst, const int* edges, const RingWarp& warp, const Layer& layer, FullSpan fullSpan) {
    const Pixel* const source = warp.pixels;
    const int lastPixel = warp.lastPixel;
    for (int y = 0; y < kScreenHeight; ++y) {
        const int edge = edges[y];
        const EdgeSpans spans = edgeSpans(edge);
        Pixel* out = dst + y * kScreenWidth;
        const int ringRow = (y + 1) * kRingsWidth;
        const std::uint8_t* r1 = warp.rings.data() + ringRow + warp.ringOffset1;
        const std::uint8_t* r2 = warp.rings.data() + ringRow + warp.ringOffset2;
        const std::uint8_t* r3 = warp.rings.data() + ringRow + warp.ringOffset3;
        const int base = y * kWarpPictureWidth + warp.pictureOffset;
        auto displaced = [&](int x, int& d) {
            d = warp.wave[r1[x] + r2[x] + r3[x]];
            return source[std::clamp(base + x + d * kWarpDiagonal, 0, lastPixel)];
        };

        fullSpan(out, y, spans.fullEnd);
        for (int x = spans.fullEnd; x < spans.rampEnd; ++x) {
            int d;
            const Pixel b = displaced(x, d);
            const int v = (kMaskFull - kEdgeRampStep * (x - edge)) & kByteMask;
            out[x] = mixPixels(layer.at(x, y, d), b, v);
        }
        for (int x = spans.rampEnd; x < kScreenWidth; ++x) {
            int d;
            out[x] = displaced(x, d);
        }
    }
}

} // namespace

int edgeMaskAt(int column, int edge) {
    if (edge >= kScreenWidth || column < edge) return kMaskFull;
    const long long intoRamp = static_cast<long long>(column) - edge; // an edge far left cannot overflow
    if (intoRamp < kEdgeRampWidth && column <= kEdgeLastRampColumn)
        return (kMaskFull - kEdgeRampStep * static_cast<int>(intoRamp)) & kByteMask;
    return 0;
}

EdgeSpans edgeSpans(int edge) {
    if (edge >= kScreenWidth) return {kScreenWidth, kScreenWidth};
    // The ramp's first value is 255 itself, so the edge column belongs to the full span; the last
    // column never does, as it never takes the ramp.
    const int fullEnd =
        static_cast<int>(std::clamp<long long>(static_cast<long long>(edge) + 1, 0, kEdgeLastRampColumn + 1));
    // The ramp ends after column edge + 31, but never beyond column 318.
    const long long rampLast =
        std::min<long long>(static_cast<long long>(edge) + kEdgeRampWidth - 1, kEdgeLastRampColumn);
    const int rampEnd = static_cast<int>(std::max<long long>(rampLast + 1, fullEnd));
    return {fullEnd, rampEnd};
}

void writeEdgeMask(Pixel* buffer, const int* edges) {
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x)
            buffer[y * kScreenWidth + x] = static_cast<Pixel>(edgeMaskAt(x, edges[y]));
}

void warpOverStillPlain(Pixel* buffer, const RingWarp& warp, const Pixel* still) {
    mixByMask(buffer, warp, StillLayer{still});
}

void warpOverWarpPlain(Pixel* buffer, const RingWarp& zeroWarp, const RingWarp& fullWarp) {
    mixByMask(buffer, zeroWarp, WarpLayer{fullWarp});
}

void warpOverStill(Pixel* dst, const int* edges, const RingWarp& warp, const Pixel* still) {
    // Where the still picture shows alone no displacement is needed: its row is copied as a block.
    auto copyStill = [still](Pixel* out, int y, int count) {
        std::memcpy(out, still + y * kScreenWidth, static_cast<size_t>(count) * sizeof(Pixel));
    };
    mixBySpans(dst, edges, warp, StillLayer{still}, copyStill);
}

void warpOverWarp(Pixel* dst, const int* edges, const RingWarp& zeroWarp, const RingWarp& fullWarp) {
    const WarpLayer layer{fullWarp};
    auto warpFull = [&zeroWarp, &layer](Pixel* out, int y, int count) {
        for (int x = 0; x < count; ++x) out[x] = layer.at(x, y, zeroWarp.displacement(x, y));
    };
    mixBySpans(dst, edges, zeroWarp, layer, warpFull);
}
