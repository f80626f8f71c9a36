#include "engine3d/outline.h"

#include "engine3d/clip_polygon.h"
#include "engine3d/raster.h"

#include <algorithm>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kChannelMax = 255;

uint32_t addChannel(uint32_t pixel, int shift, int amount) {
    const int sum = std::clamp(int((pixel >> shift) & 0xFF) + amount, 0, kChannelMax);
    return (pixel & ~(uint32_t(0xFF) << shift)) | (uint32_t(sum) << shift);
}

} // namespace

namespace {

// plot(pixel) for every pixel of the line from (x0, y0) up to, but not including, (x1, y1) that
// lies on the screen.
template <class Plot> void walkLine(int x0, int y0, int x1, int y1, uint32_t* pixels, Plot plot) {
    // 64 bits: the distance between two int coordinates may not fit an int.
    const int64_t dx = std::llabs(int64_t(x1) - x0);
    const int64_t dy = std::llabs(int64_t(y1) - y0);
    int64_t n, d, d1, d2;
    int64_t stepX1, stepY1; // taken while d < 0
    int64_t stepX2 = 1, stepY2 = 1;
    if (dx >= dy) {
        n = dx + 1;
        d = 2 * dy - dx;
        d1 = 2 * dy;
        d2 = 2 * (dy - dx);
        stepX1 = 1;
        stepY1 = 0;
    } else {
        n = dy + 1;
        d = 2 * dx - dy;
        d1 = 2 * dx;
        d2 = 2 * (dx - dy);
        stepX1 = 0;
        stepY1 = 1;
    }
    if (x0 > x1) {
        stepX1 = -stepX1;
        stepX2 = -stepX2;
    }
    if (y0 > y1) {
        stepY1 = -stepY1;
        stepY2 = -stepY2;
    }
    int64_t x = x0, y = y0;
    for (int64_t i = 1; i < n; ++i) {
        if (y >= 0 && y < kScreenHeight && x >= 0 && x < kScreenWidth)
            plot(pixels[row_offsets[size_t(y)] + x]);
        // Either step, chosen without a branch: the choice follows the line's slope, which a
        // branch predictor guesses badly.
        const bool first = d < 0;
        d += first ? d1 : d2;
        x += first ? stepX1 : stepX2;
        y += first ? stepY1 : stepY2;
    }
}

} // namespace

void draw_line_add(int x0, int y0, int x1, int y1, int blue, int green, int red, uint32_t* pixels) {
    // A line wholly beside the frame plots nothing; skipping it saves walking its length.
    if (std::max(x0, x1) < 0 || std::min(x0, x1) >= kScreenWidth || std::max(y0, y1) < 0 ||
        std::min(y0, y1) >= kScreenHeight)
        return;
#if defined(__SSE2__)
    // Amounts of 0 to 255 are one saturating byte add of the whole pixel (the fourth byte adds 0).
    const auto isByte = [](int amount) { return amount >= 0 && amount <= kChannelMax; };
    if (isByte(blue) && isByte(green) && isByte(red)) {
        const __m128i colour = _mm_cvtsi32_si128(blue | (green << 8) | (red << 16));
        walkLine(x0, y0, x1, y1, pixels, [colour](uint32_t& p) {
            p = uint32_t(_mm_cvtsi128_si32(_mm_adds_epu8(_mm_cvtsi32_si128(int(p)), colour)));
        });
        return;
    }
#endif
    walkLine(x0, y0, x1, y1, pixels, [blue, green, red](uint32_t& p) {
        p = addChannel(addChannel(addChannel(p, 0, blue), 8, green), 16, red);
    });
}

void draw_poly_outline(World* world, Poly* poly, uint32_t* pixels, int blue, int green, int red) {
    if (!world->current_camera || !pixels) return;
    ClipPolygon polygon;
    clip_poly_to_screen(poly, world->current_camera, &polygon);
    for (int i = 0; i < polygon.count; ++i) {
        const Point& from = polygon.corners[i];
        const Point& to = polygon.corners[(i + 1) % polygon.count];
        draw_line_add(from.sx, from.sy, to.sx, to.sy, blue, green, red, pixels);
    }
}
