// TGA reader.
#include "imagelib/bgl_tga.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr size_t kFooterBytes = 26;
constexpr const char kFooterSignature[] = "TRUEVISION-XFILE.";
constexpr size_t kFooterSignatureOffset = 8; // after the extension and developer area offsets
constexpr uint8_t kRunFlag = 0x80;
constexpr uint8_t kRunCountMask = 0x7F;
constexpr uint8_t kRightToLeft = 0x10;
constexpr uint8_t kTopToBottom = 0x20;
constexpr uint8_t kAlphaBitsMask = 0x0F;
constexpr uint32_t kMaxColorMapEnd = 65535;
constexpr int kGrayEntries = 256;

enum ImageType : uint8_t {
    kColorMapped = 1,
    kTrueColor = 2,
    kGrayscale = 3,
    kRleColorMapped = 9,
    kRleTrueColor = 10,
    kRleGrayscale = 11,
};

// The 18-byte header, little-endian.
struct TgaHeader {
    uint8_t idLength;     // 0: bytes of the ID field after the header
    uint8_t colorMapType; // 1: 0 none, 1 present
    uint8_t imageType;    // 2: see ImageType
    uint16_t mapFirst;    // 3: first colour-map entry index
    uint16_t mapLength;   // 5: colour-map entries stored
    uint8_t mapEntryBits; // 7: bits per colour-map entry
    uint16_t width;       // 12
    uint16_t height;      // 14
    uint8_t bitsPerPixel; // 16
    uint8_t descriptor;   // 17: bits 0-3 alpha bits, bit 4 right-to-left, bit 5 top-to-bottom
};

TgaHeader readHeader(ByteCursor& in) {
    TgaHeader h;
    h.idLength = in.u8();
    h.colorMapType = in.u8();
    h.imageType = in.u8();
    h.mapFirst = in.u16();
    h.mapLength = in.u16();
    h.mapEntryBits = in.u8();
    in.skip(4); // x and y origin
    h.width = in.u16();
    h.height = in.u16();
    h.bitsPerPixel = in.u8();
    h.descriptor = in.u8();
    return h;
}

// Colour bits of a true-colour pixel or colour-map entry: 24 for 24 and 32 bits, 15 for 15 and 16.
int trueColorBits(int bits) {
    return 3 * std::min(bits / 3, 8);
}

// A failure after the header: its own message, then the reader's.
bglimage* fail(const char* message) {
    bgl_push_error(message);
    bgl_push_error("TGA: Couldn't read imagedata");
    return nullptr;
}

// 15-bit little-endian 5:5:5 value as red, green, blue bytes (low bits left zero).
void expand555(uint16_t v, uint8_t* rgb) {
    rgb[0] = uint8_t(((v >> 10) & 31) << 3);
    rgb[1] = uint8_t(((v >> 5) & 31) << 3);
    rgb[2] = uint8_t((v & 31) << 3);
}

// Reads `count` pixels of `bpp` bytes, raw or run-length packets, into `out` (zeroed). A packet
// that runs past the last pixel is cut there. Returns the pixels read.
uint64_t readPixels(ByteCursor& in, bool rle, size_t bpp, uint8_t* out, uint64_t count) {
    if (!rle) {
        const uint64_t got = std::min<uint64_t>(count, in.remaining() / bpp);
        in.take(out, size_t(got * bpp));
        if (got < count)
            bgl_verbose("TGA: EOF while reading %d/%d element raw packet\n", int(got), int(count));
        return got;
    }
    uint64_t got = 0;
    while (got < count) {
        if (in.atEnd()) {
            bgl_verbose("TGA: hit EOF while looking for count\n");
            break;
        }
        const uint8_t packet = in.u8();
        const uint64_t length = uint64_t(packet & kRunCountMask) + 1;
        const uint64_t room = count - got;
        if (length > room)
            bgl_verbose("TGA: needed to use statebuf for %d bytes\n", int((length - room) * bpp));
        const uint64_t take = std::min(length, room);
        uint8_t* at = out + got * bpp;
        if (packet & kRunFlag) {
            if (in.remaining() < bpp) {
                bgl_verbose("TGA: EOF while reading %d/%d element RLE packet\n", 0, int(length));
                break;
            }
            for (uint64_t i = 0; i < take; ++i) std::memcpy(at + i * bpp, in.here(), bpp);
            in.skip(bpp);
            got += take;
        } else {
            const uint64_t available = in.remaining() / bpp;
            const uint64_t copied = std::min(take, available);
            in.take(at, size_t(copied * bpp));
            in.skip(size_t((std::min(length, available) - copied) * bpp)); // the cut-off rest
            got += copied;
            if (copied < take) {
                bgl_verbose("TGA: EOF while reading %d/%d element raw packet\n", int(copied), int(length));
                break;
            }
        }
    }
    return got;
}

// Rows stored bottom-up are reversed; pixels stored right-to-left are reversed in each row.
void orient(uint8_t* pixels, int width, int height, size_t bpp, uint8_t descriptor) {
    const size_t pitch = size_t(width) * bpp;
    if (!(descriptor & kTopToBottom)) {
        for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
            std::swap_ranges(pixels + top * pitch, pixels + (top + 1) * pitch, pixels + bottom * pitch);
        }
    }
    if (descriptor & kRightToLeft) {
        for (int y = 0; y < height; ++y) {
            uint8_t* row = pixels + y * pitch;
            for (int l = 0, r = width - 1; l < r; ++l, --r) {
                std::swap_ranges(row + l * bpp, row + (l + 1) * bpp, row + r * bpp);
            }
        }
    }
}

// Buffers from calloc, freed with the reader's every exit.
struct FreeDeleter {
    void operator()(uint8_t* p) const { std::free(p); }
};
using Buffer = std::unique_ptr<uint8_t, FreeDeleter>;

Buffer allocateZeroed(uint64_t bytes) {
    return Buffer(static_cast<uint8_t*>(std::calloc(size_t(bytes), 1)));
}

// The colour map as red, green, blue entries (the first mapFirst of them black).
struct ColorMap {
    Buffer rgb;
    int entries = 0;
};

// Reads the colour map; null, or the reason it cannot be read.
const char* readColorMap(ByteCursor& in, const TgaHeader& h, ColorMap& map) {
    bgl_verbose("TGA: reading color map (%d + %d) * (%d bits)\n", h.mapFirst, h.mapLength, h.mapEntryBits);
    if (h.mapLength == 0 || uint32_t(h.mapFirst) + h.mapLength > kMaxColorMapEnd)
        return "TGA: invalid color map length";
    const int bits = h.mapEntryBits;
    if (bits != 15 && bits != 16 && bits != 24 && bits != 32) return "TGA: Unsupported color map entry size";
    const size_t entryBytes = size_t(bits + 7) / 8;
    map.entries = h.mapFirst + h.mapLength;
    map.rgb = allocateZeroed(uint64_t(map.entries) * 3);
    if (!map.rgb) return "TGA: Not enough memory for cmap";
    if (in.remaining() < entryBytes * h.mapLength) return "TGA: error reading colormap";
    uint8_t lastAlpha = 0;
    for (int i = h.mapFirst; i < map.entries; ++i) {
        const uint8_t* e = in.here();
        uint8_t* rgb = map.rgb.get() + size_t(i) * 3;
        if (entryBytes == 2) {
            expand555(uint16_t(e[0] | (e[1] << 8)), rgb);
        } else {
            rgb[0] = e[2];
            rgb[1] = e[1];
            rgb[2] = e[0];
            if (entryBytes == 4) lastAlpha = e[3];
        }
        in.skip(entryBytes);
    }
    // A transparent last entry of a map with alphas is not a colour.
    if (entryBytes == 4 && lastAlpha == 0) --map.entries;
    return nullptr;
}

// What the header's type and depths make of the pixels.
struct TgaLayout {
    bool rle = false;
    bool mapped = false;
    bool gray = false;
    size_t bpp = 0; // bytes per pixel in the file
    int depth = 0;  // bits per pixel of the picture made
    uint64_t pixelCount = 0;
};

// Checks the image type and the depths against what the reader supports; null, or the reason.
const char* checkHeader(const TgaHeader& h, TgaLayout& layout) {
    const int bits = h.bitsPerPixel;
    int alphaBits = h.descriptor & kAlphaBitsMask;
    int colorBits = 0;
    switch (h.imageType) {
        case kColorMapped:
        case kRleColorMapped:
            colorBits = bits;
            alphaBits = 0;
            bgl_verbose("TGA: %d bit indexed image, %d bit alpha (%d bit indices)\n",
                        trueColorBits(h.mapEntryBits), h.mapEntryBits == 32 ? 8 : 0, bits);
            if (h.colorMapType != 1) return "TGA: indexed image has invalid color map type";
            if (bits != 8) return "TGA: Unsupported bitdepth";
            break;
        case kTrueColor:
        case kRleTrueColor:
        case kGrayscale:
        case kRleGrayscale: {
            const bool gray = h.imageType == kGrayscale || h.imageType == kRleGrayscale;
            colorBits = gray ? (alphaBits < bits ? bits - alphaBits : bits) : trueColorBits(bits);
            if (colorBits + alphaBits > bits) {
                bgl_verbose("TGA: %d bit image, %d bit alpha is greater than %d total bits per pixel\n",
                            colorBits, alphaBits, bits);
                alphaBits = bits - colorBits;
                bgl_verbose("TGA: reducing to %d bit alpha\n", alphaBits);
            } else if (colorBits + alphaBits < bits) {
                bgl_verbose("TGA: %d bit image, %d bit alpha is less than %d total bits per pixel\n",
                            colorBits, alphaBits, bits);
                alphaBits = bits - colorBits;
                bgl_verbose("TGA: increasing to %d bit alpha\n", alphaBits);
            }
            bgl_verbose(gray ? "TGA: %d bit grayscale image, %d bit alpha\n"
                             : "TGA: %d bit color image, %d bit alpha\n",
                        colorBits, alphaBits);
            if (h.colorMapType != 0) return "TGA: non-indexed image has invalid color map type";
            const bool supported = gray ? (colorBits == 8 && (bits == 8 || bits == 16))
                                        : (bits == 15 || bits == 16 || bits == 24 || bits == 32);
            if (!supported) return "TGA: Unsupported bitdepth";
            break;
        }
        default:
            return "TGA: unrecognized image type";
    }
    layout.rle = h.imageType >= kRleColorMapped;
    layout.mapped = h.imageType == kColorMapped || h.imageType == kRleColorMapped;
    layout.gray = h.imageType == kGrayscale || h.imageType == kRleGrayscale;
    layout.bpp = size_t(colorBits + alphaBits + 7) / 8;
    // 15- and 16-bit pixels become the library's 16-bit layout; greyscale keeps its grey byte.
    layout.depth = layout.mapped || layout.gray ? 8 : (bits == 15 ? 16 : bits);
    layout.pixelCount = uint64_t(h.width) * h.height;
    return nullptr;
}

// Reads the colour map (when there is one) and the pixels, oriented top-left first; null, or the
// reason they cannot be read.
const char* readRaster(ByteCursor& in, const TgaHeader& h, const TgaLayout& layout, ColorMap& map,
                       Buffer& pixels) {
    if (layout.mapped) {
        if (const char* problem = readColorMap(in, h, map)) return problem;
    }
    pixels = allocateZeroed(layout.pixelCount * layout.bpp + 1);
    if (!pixels) return "TGA: Not enough memory for data";
    if (readPixels(in, layout.rle, layout.bpp, pixels.get(), layout.pixelCount) == 0 && layout.pixelCount > 0)
        return "TGA: Could not read from file";
    orient(pixels.get(), h.width, h.height, layout.bpp, h.descriptor);
    if (layout.mapped) {
        const uint32_t mapEnd = uint32_t(h.mapFirst) + h.mapLength;
        for (uint64_t i = 0; i < layout.pixelCount; ++i)
            if (pixels.get()[i] >= mapEnd) return "TGA: Color map index out of range";
    }
    return nullptr;
}

// The picture in the library's layout: palette indices and grey bytes as they are, 5:5:5 as
// 5:6:5, and the colour bytes reordered. Null when it cannot be allocated.
bglimage* layOut(const TgaHeader& h, const TgaLayout& layout, const ColorMap& map, const uint8_t* pixels) {
    const uint16_t paletteSize = uint16_t(layout.mapped ? map.entries : layout.gray ? kGrayEntries : 0);
    bglimage* image = bgl_create_image(h.width, h.height, uint16_t(layout.depth), paletteSize);
    if (!image) return nullptr;
    // A map whose one entry was a transparent alpha leaves no colour, and no palette to copy to.
    if (layout.mapped && map.entries > 0) std::memcpy(image->palette, map.rgb.get(), size_t(map.entries) * 3);
    if (layout.gray) {
        for (int i = 0; i < kGrayEntries; ++i) std::memset(image->palette + i * 3, i, 3);
    }
    const uint64_t count = layout.pixelCount;
    uint8_t* out = image->image;
    const uint8_t* p = pixels;
    if (layout.mapped || layout.gray) {
        for (uint64_t i = 0; i < count; ++i, p += layout.bpp)
            *out++ = p[0]; // an alpha byte after grey is dropped
    } else if (layout.bpp == 2) {
        // 5:5:5 (and an alpha bit) little-endian to 5:6:5 high byte first; green's low bit 0.
        for (uint64_t i = 0; i < count; ++i, p += 2, out += 2) {
            const uint16_t v = uint16_t(p[0] | (p[1] << 8));
            const uint16_t packed = uint16_t(((v & 0xFFE0) << 1) | (v & 0x1F));
            out[0] = uint8_t(packed >> 8);
            out[1] = uint8_t(packed & 0xFF);
        }
    } else if (layout.bpp == 3) {
        for (uint64_t i = 0; i < count; ++i, p += 3, out += 3) {
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
        }
    } else {
        // Blue, green, red, alpha in the file; alpha, red, green, blue in the library.
        for (uint64_t i = 0; i < count; ++i, p += 4, out += 4) {
            out[0] = p[3];
            out[1] = p[2];
            out[2] = p[1];
            out[3] = p[0];
        }
    }
    return image;
}

} // namespace

bglimage* bgl_decode_tga(const uint8_t* data, size_t size, const BglReadLimits& limits) {
    // A file too short for a footer has none: it is an original TGA.
    const bool newTga =
        size >= kFooterBytes && std::memcmp(data + size - kFooterBytes + kFooterSignatureOffset,
                                            kFooterSignature, sizeof kFooterSignature) == 0;
    bgl_verbose(newTga ? "TGA: found new TGA\n" : "TGA: found original TGA\n");

    ByteCursor in(data, size);
    const TgaHeader h = readHeader(in);
    if (in.failed()) {
        bgl_push_error("TGA: Cannot read header");
        return nullptr;
    }
    if (!in.skip(h.idLength)) {
        bgl_push_error("TGA: Cannot skip ID field");
        return nullptr;
    }
    TgaLayout layout;
    if (const char* problem = checkHeader(h, layout)) return fail(problem);
    if (!limits.fits(h.width, h.height, layout.pixelCount * layout.bpp)) return fail("TGA: Image too large");

    ColorMap map;
    Buffer pixels;
    if (const char* problem = readRaster(in, h, layout, map, pixels)) return fail(problem);
    bglimage* image = layOut(h, layout, map, pixels.get());
    return image ? image : fail("TGA: Not enough memory for bglimage");
}
