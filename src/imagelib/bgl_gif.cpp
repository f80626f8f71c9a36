// GIF reader: the file's block structure and the interlace order. The LZW decoding itself is in
// bgl_gif_lzw.cpp.
#include "imagelib/bgl_gif.h"

#include "imagelib/bgl_gif_lzw.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kSignatureBytes = 6;
constexpr size_t kScreenDescriptorBytes = 7;
constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kTableFlag = 0x80;
constexpr uint8_t kInterlaceFlag = 0x40;
constexpr uint8_t kTableSizeMask = 0x07;

int tableEntries(uint8_t packed) {
    return 2 << (packed & kTableSizeMask);
}

struct ImageDescriptor {
    uint16_t left, top, width, height;
    uint8_t packed; // bit 7 local table, bit 6 interlaced, bits 0-2 local table size
};

ImageDescriptor readDescriptor(ByteCursor& in) {
    ImageDescriptor d;
    d.left = in.u16();
    d.top = in.u16();
    d.width = in.u16();
    d.height = in.u16();
    d.packed = in.u8();
    return d;
}

// Skips sub-blocks up to and including the zero-length one that ends them.
void skipSubBlocks(ByteCursor& in) {
    for (uint8_t length = in.u8(); length > 0 && !in.failed(); length = in.u8()) in.skip(length);
}

// An extension: its label byte, then its sub-blocks.
void gif_skip_extension(ByteCursor& in) {
    in.u8();
    skipSubBlocks(in);
}

struct Messages {
    const char* readDescriptor;
    const char* allocRaster;
};
constexpr Messages kFirstImage = {"GIF: Couldn't read gifimage", "GIF: Not enough memory for raster"};
constexpr Messages kLaterImage = {"GIF: Couldn't read gifimagetemp", "GIF: Not enough memory for rastertemp"};

struct ColorTable {
    const uint8_t* entries = nullptr; // red, green, blue; inside the file's bytes
    int size = 0;
};

// Reads one image (descriptor, local table, LZW data) after its separator. On success the raster
// (width*height bytes, caller frees), descriptor and local table are returned; on failure a
// message is pushed.
struct Screen {
    uint16_t width, height; // the logical screen every image must lie on
};

bool readImage(ByteCursor& in, const BglReadLimits& limits, const Screen& screen, const Messages& messages,
               ImageDescriptor& d, ColorTable& local, uint8_t*& raster) {
    raster = nullptr;
    d = readDescriptor(in);
    if (in.failed()) {
        bgl_push_error(messages.readDescriptor);
        return false;
    }
    if (d.packed & kTableFlag) {
        local.entries = in.here();
        local.size = tableEntries(d.packed);
        if (!in.skip(size_t(local.size) * 3)) {
            bgl_push_error(messages.readDescriptor);
            return false;
        }
    }
    // An image that does not lie on the logical screen is broken.
    if (uint32_t(d.left) + d.width > screen.width || uint32_t(d.top) + d.height > screen.height) {
        bgl_push_error("GIF: Decoding error");
        return false;
    }
    const uint64_t pixels = uint64_t(d.width) * d.height;
    if (!limits.fits(d.width, d.height, pixels)) {
        bgl_push_error("GIF: Image too large");
        return false;
    }
    raster = static_cast<uint8_t*>(std::calloc(size_t(pixels) + 1, 1));
    if (!raster) {
        bgl_push_error(messages.allocRaster);
        return false;
    }
    if (!gif_decode(in, raster, d.width, d.height)) {
        bgl_push_error("GIF: Decoding error");
        std::free(raster);
        raster = nullptr;
        return false;
    }
    // Whatever follows the end code in this image's data is not pixels.
    skipSubBlocks(in);
    return true;
}

// Interlaced rows arrive in four passes: every 8th row from 0, every 8th from 4, every 4th from
// 2, every 2nd from 1.
void deinterlace(const uint8_t* raster, bglimage* image) {
    struct Pass {
        int first, step;
    };
    constexpr Pass kPasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    const size_t width = image->width;
    const uint8_t* in = raster;
    for (const Pass& pass : kPasses) {
        for (int y = pass.first; y < image->height; y += pass.step) {
            std::memcpy(image->image + size_t(y) * width, in, width);
            in += width;
        }
    }
}

} // namespace

bglimage* bgl_decode_gif(const uint8_t* data, size_t size, const BglReadLimits& limits) {
    ByteCursor in(data, size);
    uint8_t signature[kSignatureBytes];
    in.take(signature, kSignatureBytes);
    Screen screen;
    screen.width = in.u16();
    screen.height = in.u16();
    const uint8_t packed = in.u8();
    in.skip(2); // background colour index, aspect ratio
    if (in.failed() || size < kSignatureBytes + kScreenDescriptorBytes) {
        bgl_push_error("GIF: Couldn't read imageheader");
        return nullptr;
    }
    if (std::memcmp(signature, "GIF87a", kSignatureBytes) == 0) {
        bgl_verbose("GIF: \"GIF87a\" signature found\n");
    } else if (std::memcmp(signature, "GIF89a", kSignatureBytes) == 0) {
        bgl_verbose("GIF: \"GIF89a\" signature found\n");
    } else {
        bgl_push_error("GIF: Not a valid GIF file");
        return nullptr;
    }

    const int entries = tableEntries(packed);
    const uint8_t* globalTable = nullptr;
    if (packed & kTableFlag) {
        globalTable = in.here();
        if (!in.skip(size_t(entries) * 3)) {
            bgl_push_error("GIF: Couldn't read palette");
            return nullptr;
        }
    }
    bgl_verbose("GIF: Image is %ibpp, with %i palette entries,\n", ((packed >> 4) & 7) + 1, entries);

    uint8_t* raster = nullptr;
    ImageDescriptor first{};
    ColorTable local;
    bool haveImage = false;
    while (!in.atEnd()) {
        const uint8_t block = in.u8();
        if (block == kTrailer) break;
        if (block == kExtensionIntroducer) {
            bgl_verbose("GIF: Reading and ignoring extension\n");
            gif_skip_extension(in);
        } else if (block == kImageSeparator && !haveImage) {
            bgl_verbose("GIF: Found image descriptor\n");
            if (!readImage(in, limits, screen, kFirstImage, first, local, raster)) return nullptr;
            bgl_verbose("GIF: GIF read\n");
            haveImage = true;
        } else if (block == kImageSeparator) {
            bgl_verbose("GIF: Only first image of animated gif supported\n");
            bgl_verbose("GIF: The rest is read and ignored\n");
            ImageDescriptor later;
            ColorTable laterTable;
            uint8_t* laterRaster = nullptr;
            const bool ok = readImage(in, limits, screen, kLaterImage, later, laterTable, laterRaster);
            std::free(laterRaster);
            if (!ok) {
                std::free(raster);
                return nullptr;
            }
        }
    }
    if (!haveImage) {
        bgl_push_error("GIF: No image in file");
        return nullptr;
    }

    // The first image's own colour table, when it has one, is the one its pixels index.
    const ColorTable palette = local.entries ? local : ColorTable{globalTable, entries};
    bglimage* image = bgl_create_image(first.width, first.height, 8, uint16_t(palette.size));
    if (!image) {
        bgl_push_error("GIF: Not enough memory for bglimage");
        std::free(raster);
        return nullptr;
    }
    if (palette.entries) std::memcpy(image->palette, palette.entries, size_t(palette.size) * 3);
    if (first.packed & kInterlaceFlag) {
        bgl_note("GIF: Converting interlaced image\n");
        deinterlace(raster, image);
    } else {
        std::memcpy(image->image, raster, size_t(first.width) * first.height);
    }
    std::free(raster);
    return image;
}
