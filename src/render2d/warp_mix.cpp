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

// A warped picture's pixels and reach, copied out of the RingWarp so that the loops keep them in
// registers (the frame's stores could otherwise be taken to change the warp's fields).
struct WarpSource {
    const Pixel* pixels;
    int lastPixel;
    int pictureOffset;

    explicit WarpSource(const RingWarp& warp)
        : pixels(warp.pixels), lastPixel(warp.lastPixel), pictureOffset(warp.pictureOffset) {}
    // The pixel seen at row base (y * picture width + offset) plus column x, displaced by d.
    Pixel at(int base, int x, int d) const {
        return pixels[std::clamp(base + x + d * kWarpDiagonal, 0, lastPixel)];
    }
};

// Walks one row's three spans. The displacement lookups are inlined here rather than going through
// RingWarp's per-pixel helpers so that the ring rows are stepped by pointer.
// fullSpan(out, y, count, displacementAt) fills the full span; layerAt(y, base, x, d) is layer A's
// pixel.
template <class FullSpan, class LayerAt>
void mixBySpans(Pixel* dst, const int* edges, const RingWarp& warp, LayerAt layerAt, FullSpan fullSpan) {
    const WarpSource source(warp);
    const std::int8_t* const wave = warp.wave;
    const std::uint8_t* const rings = warp.rings.data();
    const int offset1 = warp.ringOffset1, offset2 = warp.ringOffset2, offset3 = warp.ringOffset3;
    for (int y = 0; y < kScreenHeight; ++y) {
        const int edge = edges[y];
        const EdgeSpans spans = edgeSpans(edge);
        Pixel* out = dst + y * kScreenWidth;
        const int ringRow = (y + 1) * kRingsWidth;
        const std::uint8_t* r1 = rings + ringRow + offset1;
        const std::uint8_t* r2 = rings + ringRow + offset2;
        const std::uint8_t* r3 = rings + ringRow + offset3;
        const int base = y * kWarpPictureWidth + source.pictureOffset;
        const auto displacementAt = [=](int x) { return static_cast<int>(wave[r1[x] + r2[x] + r3[x]]); };

        fullSpan(out, y, spans.fullEnd, displacementAt);
        for (int x = spans.fullEnd; x < spans.rampEnd; ++x) {
            const int d = displacementAt(x);
            const Pixel b = source.at(base, x, d);
            const int v = (kMaskFull - kEdgeRampStep * (x - edge)) & kByteMask;
            out[x] = mixPixels(layerAt(y, x, d), b, v);
        }
        for (int x = spans.rampEnd; x < kScreenWidth; ++x) out[x] = source.at(base, x, displacementAt(x));
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
    auto copyStill = [still](Pixel* out, int y, int count, auto) {
        std::memcpy(out, still + y * kScreenWidth, static_cast<size_t>(count) * sizeof(Pixel));
    };
    auto stillAt = [still](int y, int x, int) { return still[y * kScreenWidth + x]; };
    mixBySpans(dst, edges, warp, stillAt, copyStill);
}

void warpOverWarp(Pixel* dst, const int* edges, const RingWarp& zeroWarp, const RingWarp& fullWarp) {
    // Both pictures take the same displacement; the full warp has its own pixels and reach.
    const WarpSource full(fullWarp);
    auto fullAt = [full](int y, int x, int d) {
        return full.at(y * kWarpPictureWidth + full.pictureOffset, x, d);
    };
    auto warpFull = [full](Pixel* out, int y, int count, auto displacementAt) {
        const int base = y * kWarpPictureWidth + full.pictureOffset;
        for (int x = 0; x < count; ++x) out[x] = full.at(base, x, displacementAt(x));
    };
    mixBySpans(dst, edges, zeroWarp, fullAt, warpFull);
}
