#include "engine3d/outline.h"

#include "engine3d/clip_polygon.h"
#include "engine3d/raster.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kChannelMax = 255;

uint32_t addChannel(uint32_t pixel, int shift, int amount) {
    const int sum = std::clamp(int((pixel >> shift) & 0xFF) + amount, 0, kChannelMax);
    return (pixel & ~(uint32_t(0xFF) << shift)) | (uint32_t(sum) << shift);
}

} // namespace

void draw_line_add(int x0, int y0, int x1, int y1, int blue, int green, int red, uint32_t* pixels) {
    // A line wholly beside the frame plots nothing; skipping it saves walking its length.
    if (std::max(x0, x1) < 0 || std::min(x0, x1) >= kScreenWidth || std::max(y0, y1) < 0 ||
        std::min(y0, y1) >= kScreenHeight)
        return;
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
        if (y >= 0 && y < kScreenHeight && x >= 0 && x < kScreenWidth) {
            uint32_t& p = pixels[row_offsets[size_t(y)] + x];
            p = addChannel(addChannel(addChannel(p, 0, blue), 8, green), 16, red);
        }
        if (d < 0) {
            d += d1;
            x += stepX1;
            y += stepY1;
        } else {
            d += d2;
            x += stepX2;
            y += stepY2;
        }
    }
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
