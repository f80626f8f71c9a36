// The scan conversion shared by the four polygon fillers: two edge walkers in 16.16 run down
// a convex polygon from its top corner, and a span writer of the filler's own fills each row.
// Fillers differ only in the attributes the walkers carry and in the span writer.
#pragma once

#include "engine3d/raster.h"

#include <algorithm>
#include <array>
#include <cstdint>

// Screen positions handed to the walkers are held to this many pixels either side of the
// origin, so that 16.16 values and their differences fit 32 bits whatever a caller passes.
constexpr int kMaxSpanCoordinate = 8192;

// A corner of the polygon: x and y in 16.16 (whole pixels) and the filler's attributes in
// 16.16 (wrapping: only their low bits address textures).
template <int N> struct SpanCorner {
    int32_t x;
    int32_t y;
    std::array<int32_t, N> attr;
};

namespace edge_walker_detail {

inline int32_t wrapDifference(int32_t to, int32_t from, int32_t rows) {
    return int32_t(uint32_t(int64_t((int64_t(to) - from) / rows)));
}

// One side of the polygon. Only the left walker carries the attributes (N > 0).
template <int N> struct Walker {
    int corner = 0; // the corner the current edge leads to
    int32_t rows = 0;
    int32_t x = 0;
    int32_t dx = 0;
    std::array<uint32_t, N> attr{};
    std::array<uint32_t, N> step{};
};

// Moves the walker onto the next edge that spans at least one row. False once it stands on
// the bottom corner: the polygon is done.
template <int N, int M>
bool advance(Walker<N>& w, const SpanCorner<M>* corners, int count, int bottom, int direction) {
    for (;;) {
        if (w.corner == bottom) return false;
        const SpanCorner<M>& p = corners[w.corner];
        const int next = (w.corner + direction + count) % count;
        const SpanCorner<M>& q = corners[next];
        w.corner = next;
        const int32_t h = (q.y - p.y) >> kFracBits;
        if (h <= 0) continue;
        w.rows = h;
        w.x = p.x;
        w.dx = edge_walker_detail::wrapDifference(q.x, p.x, h);
        for (int i = 0; i < N; ++i) {
            w.attr[i] = uint32_t(p.attr[i]);
            w.step[i] = uint32_t(wrapDifference(q.attr[i], p.attr[i], h));
        }
        return true;
    }
}

template <int N> void stepWalker(Walker<N>& w) {
    w.x += w.dx;
    for (int i = 0; i < N; ++i) w.attr[i] += w.step[i];
}

} // namespace edge_walker_detail

// Fills the polygon's rows from its top corner's row down to (not including) its bottom
// corner's row; each span runs from the left edge up to (not including) the right edge.
// Span writer: span(uint32_t* first, int count, std::array<uint32_t, N>& value,
// const std::array<uint32_t, N>& step), values and steps in 8.8, added once per pixel. Rows
// and columns outside the 320x200 frame are never written.
template <int N, class SpanWriter>
void scan_polygon(const SpanCorner<N>* corners, int count, const std::array<int32_t, N>& gradient,
                  uint32_t* pixels, const SpanWriter& span) {
    using namespace edge_walker_detail;
    if (count < 3) return;
    int top = 0, bottom = 0;
    for (int i = 1; i < count; ++i) {
        if (corners[i].y < corners[top].y) top = i;
        if (corners[i].y > corners[bottom].y) bottom = i;
    }
    Walker<N> left;
    Walker<0> right;
    left.corner = right.corner = top;
    // For drawn (counter-clockwise) polys the forward walker runs down the left side.
    if (!advance(left, corners, count, bottom, 1)) return;
    if (!advance(right, corners, count, bottom, -1)) return;

    std::array<uint32_t, N> spanStep;
    for (int i = 0; i < N; ++i) spanStep[i] = uint32_t(gradient[i] >> kShortFracBits);

    for (int32_t y = corners[top].y >> kFracBits;; ++y) {
        const int32_t xl = left.x >> kFracBits;
        const int32_t xr = right.x >> kFracBits;
        if (y >= 0 && y < kScreenHeight && xr > xl) {
            const int32_t from = std::max(xl, 0);
            const int32_t to = std::min(xr, int32_t(kScreenWidth));
            if (from < to) {
                std::array<uint32_t, N> value;
                for (int i = 0; i < N; ++i)
                    value[i] =
                        uint32_t(int32_t(left.attr[i]) >> kShortFracBits) + spanStep[i] * uint32_t(from - xl);
                span(pixels + row_offsets[y] + from, to - from, value, spanStep);
            }
        }
        if (--left.rows > 0)
            stepWalker(left);
        else if (!advance(left, corners, count, bottom, 1))
            return;
        if (--right.rows > 0)
            stepWalker(right);
        else if (!advance(right, corners, count, bottom, -1))
            return;
    }
}
