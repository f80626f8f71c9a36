// Scale, invert, flips and the framebuffer byte order.
#include "imagelib/bgl_transform.h"

#include "imagelib/bgl_pixel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr double kSixteenBitRange = 65536.0;

// trunc(size * factor) taken modulo 65,536, without undefined float-to-int overflow.
uint16_t scaledSide(uint16_t size, float factor) {
    const double scaled = std::trunc(double(float(size) * factor));
    if (!std::isfinite(scaled)) return 0;
    double wrapped = std::fmod(scaled, kSixteenBitRange);
    if (wrapped < 0) wrapped += kSixteenBitRange;
    return uint16_t(wrapped);
}

void swapPixels(uint8_t* a, uint8_t* b, int bytes) {
    for (int i = 0; i < bytes; ++i) std::swap(a[i], b[i]);
}

} // namespace

int bgl_scale_size(uint16_t new_width, uint16_t new_height, bglimage* image) {
    bglimage* source = bgl_duplicate_image(image);
    if (!source) {
        bgl_push_error("Scale Size: Could not duplicate bglimage");
        return 0;
    }
    const int srcWidth = source->width;
    const int srcHeight = source->height;
    if (!bgl_change_attributes(new_width, new_height, source->bits_per_pixel, source->palette_size, image)) {
        bgl_push_error("Scale Size: Could not change image attributes");
        bgl_free_image(source);
        return 0;
    }
    if (source->palette_size > 0)
        std::memcpy(image->palette, source->palette, size_t(source->palette_size) * 3);

    const float fy = new_height ? float(srcHeight) / float(new_height) : 0.0f;
    const float fx = new_width ? float(srcWidth) / float(new_width) : 0.0f;
    bgl_verbose("Scale Size: Scaling %ix%i -> %ix%i (factor %4.2fx%4.2f)\n", srcWidth, srcHeight, new_width,
                new_height, double(fx), double(fy));

    const int bpp = bgl_bytes_per_pixel(image);
    if (srcWidth == 0 || srcHeight == 0 || bpp == 0) {
        bgl_free_image(source);
        return 1; // nothing to sample: the new buffers stay zero
    }
    // Source byte offset of every output column, worked out once instead of per row.
    std::vector<size_t> columnOffset(new_width);
    for (int k = 0; k < new_width; ++k) {
        const int sx = std::min(int(fx * float(k)), srcWidth - 1);
        columnOffset[k] = size_t(sx) * bpp;
    }
    const size_t srcPitch = size_t(srcWidth) * bpp;
    uint8_t* out = image->image;
    for (int j = 0; j < new_height; ++j) {
        const int sy = std::min(int(fy * float(j)), srcHeight - 1);
        const uint8_t* row = source->image + size_t(sy) * srcPitch;
        for (int k = 0; k < new_width; ++k) {
            std::memcpy(out, row + columnOffset[k], size_t(bpp));
            out += bpp;
        }
    }
    bgl_free_image(source);
    return 1;
}

int bgl_scale_by(float factor_x, float factor_y, bglimage* image) {
    return bgl_scale_size(scaledSide(image->width, factor_x), scaledSide(image->height, factor_y), image);
}

int bgl_invert_color(bglimage* image) {
    const uint64_t pixels = uint64_t(image->width) * image->height;
    uint8_t* p = image->image;
    switch (image->bits_per_pixel) {
        case 8:
            bgl_verbose("Invert Color: Inverting 8bit image (palette only)\n");
            for (int i = 0; i < image->palette_size * 3; ++i)
                image->palette[i] = uint8_t(255 - image->palette[i]);
            return 1;
        case 16:
            bgl_verbose("Invert Color: Inverting 16bit image\n");
            for (uint64_t i = 0; i < pixels; ++i, p += 2) {
                const uint16_t v = bgl_read_565(p);
                const int r = 31 - ((v >> 11) & 31), g = 63 - ((v >> 5) & 63), b = 31 - (v & 31);
                bgl_write_565(p, uint16_t((r << 11) | (g << 5) | b));
            }
            return 1;
        case 24:
            bgl_verbose("Invert Color: Inverting 24bit image\n");
            for (uint64_t i = 0; i < pixels * 3; ++i) p[i] = uint8_t(255 - p[i]);
            return 1;
        case 32:
            bgl_verbose("Invert Color: Inverting 32bit image\n");
            for (uint64_t i = 0; i < pixels; ++i, p += 4) {
                p[1] = uint8_t(255 - p[1]);
                p[2] = uint8_t(255 - p[2]);
                p[3] = uint8_t(255 - p[3]);
            }
            return 1;
        default:
            bgl_push_error("Invert Color: Unsupported bitdepth");
            return 0;
    }
}

int bgl_flip_vertical(bglimage* image) {
    bgl_verbose("Flip Vertical: Flipping image\n");
    const int bpp = bgl_bytes_per_pixel(image);
    const size_t pitch = size_t(image->width) * bpp;
    for (int y = 0; y < image->height; ++y) {
        uint8_t* row = image->image + y * pitch;
        for (int left = 0, right = image->width - 1; left < right; ++left, --right) {
            swapPixels(row + size_t(left) * bpp, row + size_t(right) * bpp, bpp);
        }
    }
    return 1;
}

int bgl_flip_horizontal(bglimage* image) {
    bgl_verbose("Flip Horizontal: Flipping image\n");
    const size_t pitch = size_t(image->width) * bgl_bytes_per_pixel(image);
    for (int top = 0, bottom = image->height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(image->image + top * pitch, image->image + (top + 1) * pitch,
                         image->image + bottom * pitch);
    }
    return 1;
}

// Done in place: no copy is needed, so there is no allocation that could fail.
int toScreenOrder(bglimage* image) {
    const uint64_t pixels = uint64_t(image->width) * image->height;
    uint8_t* p = image->image;
    if (image->bits_per_pixel == 24) {
        bgl_verbose("Invert Color: swapping 24bit image\n");
        for (uint64_t i = 0; i < pixels; ++i, p += 3) std::swap(p[0], p[2]);
    } else if (image->bits_per_pixel == 32) {
        bgl_verbose("Invert Color: Inverting 32bit image\n");
        for (uint64_t i = 0; i < pixels; ++i, p += 4) {
            const uint8_t blue = p[3];
            std::swap(p[1], p[2]);
            p[0] = blue;
        }
    }
    return 0;
}
