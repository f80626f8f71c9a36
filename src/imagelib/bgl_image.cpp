// Creation, duplication, reshaping and release of picture records.
#include "imagelib/bgl_image.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kPaletteEntryBytes = 3;

// calloc of a 64-bit size; a size the address space cannot hold fails like an allocation.
uint8_t* allocZeroed(uint64_t bytes) {
    if (bytes > SIZE_MAX) return nullptr;
    // One byte at least, so that an empty picture still has a buffer to free and copy from.
    return static_cast<uint8_t*>(std::calloc(bytes ? size_t(bytes) : 1, 1));
}

} // namespace

bglimage* bgl_create_image(uint16_t width, uint16_t height, uint16_t bits_per_pixel, uint16_t palette_size) {
    auto* image = static_cast<bglimage*>(std::calloc(1, sizeof(bglimage)));
    if (!image) {
        bgl_push_error("BGL: Not enough memory for bglimage");
        return nullptr;
    }
    image->width = width;
    image->height = height;
    image->bits_per_pixel = bits_per_pixel;
    image->palette_size = palette_size;
    if (palette_size > 0) {
        image->palette = allocZeroed(uint64_t(palette_size) * kPaletteEntryBytes);
        if (!image->palette) {
            bgl_push_error("BGL: Not enough memory for bglimage->palette");
            std::free(image);
            return nullptr;
        }
    }
    image->image = allocZeroed(bgl_image_bytes(image));
    if (!image->image) {
        bgl_push_error("BGL: Not enough memory for bglimage->image");
        std::free(image->palette);
        std::free(image);
        return nullptr;
    }
    return image;
}

bglimage* bgl_duplicate_image(const bglimage* source) {
    bglimage* copy =
        bgl_create_image(source->width, source->height, source->bits_per_pixel, source->palette_size);
    if (!copy) {
        bgl_push_error("BGL: Not enough memory for bglimage");
        return nullptr;
    }
    if (source->palette_size > 0) {
        std::memcpy(copy->palette, source->palette, size_t(source->palette_size) * kPaletteEntryBytes);
    }
    std::memcpy(copy->image, source->image, size_t(bgl_image_bytes(source)));
    return copy;
}

void bgl_free_image(bglimage* image) {
    if (!image) return;
    if (image->palette_size > 0) std::free(image->palette);
    std::free(image->image);
    std::free(image);
}

int bgl_change_attributes(uint16_t width, uint16_t height, uint16_t bits_per_pixel, uint16_t palette_size,
                          bglimage* image) {
    if (image->palette_size > 0) std::free(image->palette);
    std::free(image->image);
    // Cleared at once, so that a failure below leaves nothing that a later free would release twice.
    image->palette = nullptr;
    image->image = nullptr;

    image->bits_per_pixel = bits_per_pixel;
    image->width = width;
    image->height = height;
    image->palette_size = palette_size;
    if (palette_size > 0) {
        image->palette = allocZeroed(uint64_t(palette_size) * kPaletteEntryBytes);
        if (!image->palette) {
            bgl_push_error("BGL: Not enough memory for bglimage->palette");
            return 0;
        }
    }
    image->image = allocZeroed(bgl_image_bytes(image));
    if (!image->image) {
        bgl_push_error("BGL: Not enough memory for bglimage->image");
        return 0;
    }
    return 1;
}
