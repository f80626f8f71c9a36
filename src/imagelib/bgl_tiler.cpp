// The tiler: every pixel keeps a share of itself that falls from all next to the centre to
// nothing at the edges, and gives the same share to the pixel half a picture away diagonally;
// so each edge of the result continues into the opposite one.
#include "imagelib/bgl_filter.h"

#include "imagelib/bgl_sixteen_bit_detour.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr BglDetourMessages kTilerDetour = {
    {"Tiler: WARNING! Tiler cannot be applied to 16bit images\n",
     "Tiler: WARNING! Conversion to 24bit will be forced\n",
     "Tiler: WARNING! Image will be converted back to 16bit, after the Tiler is applied\n"},
    "Tiler: Could not convert image to 24bit",
    "Tiler: Could not convert image back to 16bit"};

// Distance of a column (or row) from the centre: 0 next to it, half - 1 at the edge; -1 for the
// middle column of an odd size.
int centreDistance(int size, int at) {
    const int half = size / 2;
    if (at < half) return half - at - 1;
    if (at == half && size % 2 == 1) return -1;
    return at - half - size % 2;
}

// The diagonal partner of a column (or row) half the size away, or -1 on an odd size's middle.
int partner(int size, int at) {
    const int half = size / 2, odd = size % 2;
    if (at >= half + odd) return at - half - odd;
    if (at < half) return at + half + odd;
    return -1;
}

} // namespace

int bgl_tiler_weight(int width, int height, int x, int y, int value) {
    const int64_t v = value & 0xFF;
    const int64_t G = width / 2 - 1, F = height / 2 - 1;
    const int dxi = centreDistance(width, x), dyi = centreDistance(height, y);
    if (dxi < 0 || dyi < 0) return int(v);
    const int64_t dx = dxi, dy = dyi;
    const int64_t h = G - dx; // distance to the left or right edge
    if (F * dx > G * dy || (F * dx == G * dy && dx % 2 == 0)) {
        // Nearer a left or right edge, relative to the picture's proportions.
        if (dx == G) return 0;
        const int64_t denominator = F * h + G * dy;
        // Only a picture 2 or 3 rows tall (F = 0) gives 0 here: it keeps its value.
        return denominator == 0 ? int(v) : int(v * h * F / denominator);
    }
    if (dx == 0) return int(v);
    const int64_t denominator = G * (F - dy) + G * F - F * h;
    return denominator == 0 ? int(v) : int(v - v * dx * F / denominator);
}

int bgl_tiler(bglimage* image) {
    bool converted = false;
    if (!bgl_detour_enter(image, kTilerDetour, converted)) return 0;
    bglimage* source = bgl_duplicate_image(image);
    if (!source) {
        bgl_push_error("Tiler: Could not duplicate bglimage");
        return 0;
    }
    if (!bgl_change_attributes(source->width, source->height, source->bits_per_pixel, source->palette_size,
                               image)) {
        bgl_push_error("Tiler: Could not change image attributes");
        bgl_free_image(source);
        return 0;
    }
    if (source->palette_size > 0)
        std::memcpy(image->palette, source->palette, size_t(source->palette_size) * 3);
    bgl_verbose("Tiler: Tileing bitmap\n");

    const int width = image->width, height = image->height, bpp = bgl_bytes_per_pixel(image);
    const size_t pitch = size_t(width) * bpp;
    for (int y = 0; y < height; ++y) {
        const int py = partner(height, y);
        for (int x = 0; x < width; ++x) {
            const int px = partner(width, x);
            const uint8_t* in = source->image + y * pitch + size_t(x) * bpp;
            uint8_t* self = image->image + y * pitch + size_t(x) * bpp;
            uint8_t* other = px >= 0 && py >= 0 ? image->image + py * pitch + size_t(px) * bpp : nullptr;
            for (int l = 0; l < bpp; ++l) {
                const uint8_t share = uint8_t(bgl_tiler_weight(width, height, x, y, in[l]));
                self[l] = uint8_t(self[l] + share);
                if (other) other[l] = uint8_t(other[l] + share);
            }
        }
    }
    bgl_free_image(source);
    return bgl_detour_leave(image, kTilerDetour, converted);
}
