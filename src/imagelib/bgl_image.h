// The picture record of the bgl library and the library's core: creation, copies, reshaping,
// the process-wide error stack, verbose mode and the banner.
#pragma once

#include <cstddef>
#include <cstdint>

// One picture. Pixel layouts by depth (bytes in memory order):
//   8: palette index          16: 5:6:5 value, high byte first
//   24: red, green, blue      32: unused (alpha for TGA), red, green, blue
// Rows top first, no padding. The palette holds palette_size entries of red, green, blue.
struct bglimage {
    uint16_t width;
    uint16_t height;
    uint16_t bits_per_pixel;
    uint16_t palette_size; // 0: no palette; `palette` is then not to be read or freed
    uint8_t* palette;
    uint8_t* image;
};

// Largest picture any reader accepts: each side, and the bytes of its largest buffer.
constexpr uint32_t kBglMaxSide = 16384;
constexpr uint64_t kBglMaxBytes = uint64_t(256) << 20;

inline int bgl_bytes_per_pixel(const bglimage* image) {
    return (image->bits_per_pixel + 7) / 8;
}
// Pixel buffer size, in 64 bits: legal 16-bit sides overflow 32.
inline uint64_t bgl_image_bytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    return uint64_t(width) * ((bitsPerPixel + 7) / 8) * height;
}
inline uint64_t bgl_image_bytes(const bglimage* image) {
    return bgl_image_bytes(image->width, image->height, image->bits_per_pixel);
}

bglimage* bgl_create_image(uint16_t width, uint16_t height, uint16_t bits_per_pixel, uint16_t palette_size);
bglimage* bgl_duplicate_image(const bglimage* source);
void bgl_free_image(bglimage* image);
int bgl_change_attributes(uint16_t width, uint16_t height, uint16_t bits_per_pixel, uint16_t palette_size,
                          bglimage* image);

void bgl_verbose_on();
void bgl_verbose_off();
int bgl_is_verbose();
void bgl_print_banner();
// Quiet mode, off by default: while it is on the library prints nothing at all, neither its
// progress lines nor the lines it prints in any mode (the switch's own, the banner, the GIF
// reader's interlace note). For programs that want standard output to themselves: the capture's
// --quiet, the tools, the fuzz targets.
void bgl_set_quiet(int quiet);
int bgl_is_quiet();

// Messages are pointers to constant strings: the stack never copies or frees them.
void bgl_push_error(const char* message);
const char* bgl_last_error();
const char* bgl_first_error();
const char* bgl_next_error();
int bgl_error_count();
void bgl_clear_errors();

// printf to standard output while verbose mode is on.
void bgl_verbose(const char* format, ...) __attribute__((format(printf, 1, 2)));
// printf to standard output in any mode but quiet: the lines the library prints unconditionally.
void bgl_note(const char* format, ...) __attribute__((format(printf, 1, 2)));
