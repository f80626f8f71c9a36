// The five depth conversions share one frame: copy the picture, give it fresh buffers of the
// target depth, then write every pixel from the copy.
#include "imagelib/bgl_convert.h"

#include "imagelib/bgl_pixel.h"

#include <cstdlib>
#include <cstring>

namespace {

struct Conversion {
    const char* prefix; // of the progress line
    const char* targetName;
    int targetDepth;
    const char* duplicateError;
    const char* attributesError;
    const char* depthError;
};

constexpr Conversion kTo32 = {"32bit Convert: ",
                              "32bit",
                              32,
                              "32bit Convert: Could not duplicate bglimage",
                              "32bit Convert: Could not change image attributes",
                              "32bit Convert: Unsupported bitdepth"};
constexpr Conversion kTo24 = {"24bit Convert: ",
                              "24bit",
                              24,
                              "24bit Convert: Could not duplicate bglimage",
                              "24bit Convert: Could not change image attributes",
                              "24bit Convert: Unsupported bitdepth"};
constexpr Conversion kTo16 = {"16bit Convert: ",
                              "16bit",
                              16,
                              "16bit Convert: Could not duplicate bglimage",
                              "16bit Convert: Could not give the image its new buffers",
                              "16bit Convert: Unsupported bitdepth"};
constexpr Conversion kToGray = {"Grayscale Convert: ",
                                "Grayscale",
                                8,
                                "Grayscale Convert:  Could not duplicate bglimage",
                                "Grayscale Convert: Could not change image attributes",
                                "Grayscale Convert: Unsupported bitdepth"};
constexpr Conversion kTo8 = {"8bit Convert: ",
                             "8bit",
                             8,
                             "8bit Convert:  Could not duplicate bglimage",
                             "8bit Convert: Could not change image attributes",
                             "8bit Convert: Unsupported bitdepth"};

constexpr int kCubeLevels = 6;
constexpr int kCubeEntries = kCubeLevels * kCubeLevels * kCubeLevels;
constexpr int kCubeStep = 51;
constexpr int kGrayEntries = 256;
constexpr int kNoDistanceYet = 0x40000;

int cubeLevel(int step) {
    return 255 - kCubeStep * step;
}

uint8_t grayOf(BglRgb c) {
    return uint8_t(0.30 * c.r + 0.59 * c.g + 0.11 * c.b + 0.001);
}

// The frame shared by every conversion. `paletteSize` is the result's; `convertPixels(copy, image)`
// writes the new pixels (and palette) once the depth of the copy is known to be supported.
template <typename ConvertPixels>
int convertImage(bglimage* image, const Conversion& c, uint16_t paletteSize, ConvertPixels&& convertPixels) {
    bglimage* copy = bgl_duplicate_image(image);
    if (!copy) {
        bgl_push_error(c.duplicateError);
        return 0;
    }
    if (!bgl_change_attributes(image->width, image->height, uint16_t(c.targetDepth), paletteSize, image)) {
        bgl_push_error(c.attributesError);
        bgl_free_image(copy);
        return 0;
    }
    if (!bgl_is_supported_depth(copy->bits_per_pixel)) {
        bgl_push_error(c.depthError);
        bgl_free_image(copy);
        return 0;
    }
    bgl_verbose("%sConverting image %dbit -> %s\n", c.prefix, copy->bits_per_pixel, c.targetName);
    convertPixels(copy, image);
    bgl_free_image(copy);
    return 1;
}

void copyAllPixels(const bglimage* copy, bglimage* image) {
    std::memcpy(image->image, copy->image, size_t(bgl_image_bytes(copy)));
}

// Writes the target pixels of an 8-bit picture whose palette is already filled.
template <typename Index> void writeIndices(const bglimage* copy, bglimage* image, Index&& indexOf) {
    uint8_t* out = image->image;
    bgl_for_each_rgb(copy, [&](BglRgb c, uint64_t i) { out[i] = uint8_t(indexOf(c)); });
}

} // namespace

int bgl_nearest_cube_color(int red, int green, int blue) {
    int best = kNoDistanceYet;
    int bestIndex = 0;
    for (int i = 0; i < kCubeEntries; ++i) {
        const int er = cubeLevel(i / (kCubeLevels * kCubeLevels));
        const int eg = cubeLevel((i / kCubeLevels) % kCubeLevels);
        const int eb = cubeLevel(i % kCubeLevels);
        const int distance = std::abs(red - er) + std::abs(green - eg) + std::abs(blue - eb);
        if (distance < best) {
            best = distance;
            bestIndex = i;
        }
    }
    return bestIndex;
}

int bgl_convert_to_32bit(bglimage* image) {
    return convertImage(image, kTo32, image->palette_size, [](const bglimage* copy, bglimage* out) {
        if (copy->bits_per_pixel == 32) return copyAllPixels(copy, out);
        uint8_t* p = out->image;
        bgl_for_each_rgb(copy, [&](BglRgb c, uint64_t) {
            p[0] = 0;
            p[1] = c.r;
            p[2] = c.g;
            p[3] = c.b;
            p += 4;
        });
    });
}

int bgl_convert_to_24bit(bglimage* image) {
    return convertImage(image, kTo24, image->palette_size, [](const bglimage* copy, bglimage* out) {
        if (copy->bits_per_pixel == 24) return copyAllPixels(copy, out);
        uint8_t* p = out->image;
        bgl_for_each_rgb(copy, [&](BglRgb c, uint64_t) {
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
            p += 3;
        });
    });
}

int bgl_convert_to_16bit(bglimage* image) {
    return convertImage(image, kTo16, image->palette_size, [](const bglimage* copy, bglimage* out) {
        if (copy->bits_per_pixel == 16) return copyAllPixels(copy, out);
        uint8_t* p = out->image;
        bgl_for_each_rgb(copy, [&](BglRgb c, uint64_t) {
            bgl_write_565(p, bgl_pack_565(c.r, c.g, c.b));
            p += 2;
        });
    });
}

int bgl_convert_to_grayscale(bglimage* image) {
    return convertImage(image, kToGray, kGrayEntries, [](const bglimage* copy, bglimage* out) {
        for (int i = 0; i < kGrayEntries; ++i) {
            out->palette[i * 3] = out->palette[i * 3 + 1] = out->palette[i * 3 + 2] = uint8_t(i);
        }
        writeIndices(copy, out, grayOf);
    });
}

int bgl_convert_to_8bit(bglimage* image) {
    return convertImage(image, kTo8, kCubeEntries, [](const bglimage* copy, bglimage* out) {
        bgl_verbose("8bit Convert: Note: No dithering of any kind performed\n");
        for (int i = 0; i < kCubeEntries; ++i) {
            out->palette[i * 3] = uint8_t(cubeLevel(i / (kCubeLevels * kCubeLevels)));
            out->palette[i * 3 + 1] = uint8_t(cubeLevel((i / kCubeLevels) % kCubeLevels));
            out->palette[i * 3 + 2] = uint8_t(cubeLevel(i % kCubeLevels));
        }
        writeIndices(copy, out, [](BglRgb c) { return bgl_nearest_cube_color(c.r, c.g, c.b); });
    });
}
