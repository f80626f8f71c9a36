// Blur and Blur More share one walker over the picture's regions (inner rows, top and bottom
// rows, corners); only the kernel differs.
#include "imagelib/bgl_filter.h"

#include "imagelib/bgl_pixel.h"
#include "imagelib/bgl_sixteen_bit_detour.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// Offsets are in bytes: `side` to the left/right neighbour, `vertical` to the row above or
// below (signed, pointing inside the picture), `pitch` to the next row.
struct FivePoint {
    static uint8_t inner(const uint8_t* p, ptrdiff_t side, ptrdiff_t pitch) {
        return uint8_t((p[-side] + p[-pitch] + p[pitch] + p[side] + p[0]) / 5);
    }
    static uint8_t edge(const uint8_t* p, ptrdiff_t side, ptrdiff_t vertical) {
        return uint8_t((p[-side] + p[vertical] + p[side] + p[0]) >> 2);
    }
    static uint8_t corner(const uint8_t* p, ptrdiff_t horizontal, ptrdiff_t vertical) {
        return uint8_t((p[0] + p[vertical] + p[horizontal]) / 3);
    }
};

struct Box {
    static int rowOfThree(const uint8_t* p, ptrdiff_t side) { return p[-side] + p[0] + p[side]; }
    static uint8_t inner(const uint8_t* p, ptrdiff_t side, ptrdiff_t pitch) {
        return uint8_t((rowOfThree(p - pitch, side) + rowOfThree(p, side) + rowOfThree(p + pitch, side)) / 9);
    }
    static uint8_t edge(const uint8_t* p, ptrdiff_t side, ptrdiff_t vertical) {
        return uint8_t((rowOfThree(p, side) + rowOfThree(p + vertical, side)) / 6);
    }
    static uint8_t corner(const uint8_t* p, ptrdiff_t horizontal, ptrdiff_t vertical) {
        return uint8_t((p[0] + p[horizontal] + p[vertical] + p[horizontal + vertical]) >> 2);
    }
};

// Inner rows take every column, the first and last included: their missing side neighbour is
// the byte beside them in memory (the end of the row above, the start of the row below). Only
// the 3x3 box of the first inner row's first pixel and the last inner row's last pixel reach one
// pixel beyond the picture; `src` carries a margin of one pixel on each end for them.
template <typename Kernel> void softenAll(const uint8_t* src, uint8_t* dst, int width, int height, int bpp) {
    const ptrdiff_t pitch = ptrdiff_t(width) * bpp;
    for (int y = 1; y < height - 1; ++y) {
        for (ptrdiff_t i = y * pitch, end = i + pitch; i < end; ++i)
            dst[i] = Kernel::inner(src + i, bpp, pitch);
    }
    for (int y : {0, height - 1}) {
        const ptrdiff_t vertical = y == 0 ? pitch : -pitch;
        const ptrdiff_t rowStart = y * pitch;
        for (ptrdiff_t i = rowStart + bpp, end = rowStart + pitch - bpp; i < end; ++i) {
            dst[i] = Kernel::edge(src + i, bpp, vertical);
        }
        for (int l = 0; l < bpp; ++l) {
            const ptrdiff_t left = rowStart + l, right = rowStart + pitch - bpp + l;
            dst[left] = Kernel::corner(src + left, bpp, vertical);
            dst[right] = Kernel::corner(src + right, -bpp, vertical);
        }
    }
}

struct BlurNames {
    BglDetourMessages detour;
    const char* bufferError;
    const char* progress;
};

constexpr BlurNames kBlur = {
    {{"Blur: WARNING! Blur cannot be applied to 16bit images\n",
      "Blur: WARNING! Conversion to 24bit will be forced\n",
      "Blur: WARNING! Image will be converted back to 16bit, after the blur is applied\n"},
     "Blur: Could not convert image to 24bit",
     "Blur: Could not convert image back to 16bit"},
    "Blur: Not enough memory for buffer",
    "Blur: Blurring %ibit image\n"};

constexpr BlurNames kBlurMore = {
    {{"Blur More: WARNING! Blur cannot be applied to 16bit images\n",
      "Blur More: WARNING! Conversion to 24bit will be forced\n",
      "Blur More: WARNING! Image will be converted back to 16bit, after the blur is applied\n"},
     "Blur More: Could not convert image to 24bit",
     "Blur: Could not convert image back to 16bit"},
    "Blur More: Not enough memory for buffer",
    "Blur More: Blurring %ibit image\n"};

template <typename Kernel> int soften(bglimage* image, const BlurNames& names) {
    bool converted = false;
    if (!bgl_detour_enter(image, names.detour, converted)) return 0;
    // The copy has one pixel of margin before and after, repeating the first and last pixel.
    const size_t bytes = size_t(bgl_image_bytes(image));
    const size_t margin = size_t(bgl_bytes_per_pixel(image));
    auto* copy = static_cast<uint8_t*>(std::malloc(bytes + 2 * margin + 1));
    if (!copy) {
        bgl_push_error(names.bufferError);
        return 0;
    }
    std::memcpy(copy + margin, image->image, bytes);
    if (bytes >= margin) {
        std::memcpy(copy, image->image, margin);
        std::memcpy(copy + margin + bytes, image->image + bytes - margin, margin);
    }
    bgl_verbose(names.progress, image->bits_per_pixel);
    if (!bgl_is_supported_depth(image->bits_per_pixel)) {
        bgl_push_error("Blur: Unsupported bitdepth");
        std::free(copy);
        return 0;
    }
    // Under 2x2 there are no neighbours on one side at all: such a picture stays as it is.
    if (image->width >= 2 && image->height >= 2) {
        softenAll<Kernel>(copy + margin, image->image, image->width, image->height,
                          bgl_bytes_per_pixel(image));
    }
    std::free(copy);
    return bgl_detour_leave(image, names.detour, converted);
}

} // namespace

int bgl_blur(bglimage* image) {
    return soften<FivePoint>(image, kBlur);
}

int bgl_blur_more(bglimage* image) {
    return soften<Box>(image, kBlurMore);
}
