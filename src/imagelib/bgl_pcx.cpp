// PCX reader.
#include "imagelib/bgl_pcx.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kHeaderBytes = 128;
constexpr uint8_t kManufacturerZsoft = 10;
constexpr uint8_t kEncodingRle = 1;
constexpr uint8_t kRunFlags = 0xC0;
constexpr uint8_t kRunLengthMask = 0x3F;
constexpr uint8_t kPaletteMarker = 12;
constexpr size_t kPaletteEntries = 256;
constexpr size_t kPaletteBytes = kPaletteEntries * 3;
constexpr size_t kPaletteTailBytes = kPaletteBytes + 1; // marker byte + palette

// Header fields the reader uses (offsets in the 128-byte little-endian header).
struct PcxHeader {
    uint8_t manufacturer; // 0: 10 for ZSoft
    uint8_t encoding;     // 2: 1 for run-length
    int bitsPerPlane;     // 3: bits per pixel in each plane (signed byte)
    int xmin, ymin;       // 4, 6 (signed)
    int xmax, ymax;       // 8, 10 (signed)
    int planes;           // 65: colour planes (signed byte)
    int bytesPerLine;     // 66: bytes per scan line of one plane (signed), padding included
};

PcxHeader readHeader(const uint8_t* h) {
    auto s16 = [h](int at) { return int(int16_t(uint16_t(h[at] | (h[at + 1] << 8)))); };
    PcxHeader header;
    header.manufacturer = h[0];
    header.encoding = h[2];
    header.bitsPerPlane = int8_t(h[3]);
    header.xmin = s16(4);
    header.ymin = s16(6);
    header.xmax = s16(8);
    header.ymax = s16(10);
    header.planes = int8_t(h[65]);
    header.bytesPerLine = s16(66);
    return header;
}

// Decodes one run-length stream into `out` (already zeroed), ignoring scan-line boundaries.
// Stops when `total` bytes are produced or the data ends; never writes past `total`.
void decodeRle(ByteCursor& in, uint8_t* out, uint64_t total) {
    uint64_t produced = 0;
    while (produced < total && !in.atEnd()) {
        uint8_t value = in.u8();
        uint64_t run = 1;
        if ((value & kRunFlags) == kRunFlags) {
            run = value & kRunLengthMask;
            value = in.u8();
            if (in.failed()) break;
        }
        if (run > total - produced) run = total - produced;
        std::memset(out + produced, value, size_t(run));
        produced += run;
    }
}

// Scan lines hold each plane in turn (red, green, blue for three planes); the picture holds
// whole pixels. Padding at the end of each plane's line is dropped.
void arrangeRows(const uint8_t* decoded, int planes, int bytesPerLine, bglimage* image) {
    const size_t lineBytes = size_t(bytesPerLine) * planes;
    uint8_t* out = image->image;
    for (int y = 0; y < image->height; ++y) {
        const uint8_t* line = decoded + y * lineBytes;
        if (planes == 1) {
            std::memcpy(out, line, image->width);
            out += image->width;
            continue;
        }
        for (int x = 0; x < image->width; ++x) {
            for (int p = 0; p < planes; ++p) *out++ = line[p * bytesPerLine + x];
        }
    }
}

} // namespace

bglimage* bgl_decode_pcx(const uint8_t* data, size_t size, const BglReadLimits& limits) {
    if (size < kHeaderBytes) {
        bgl_push_error("PCX: Cannot read header");
        return nullptr;
    }
    const PcxHeader header = readHeader(data);
    if (header.manufacturer != kManufacturerZsoft) {
        bgl_push_error("PCX: Only ZSoft images supported");
        return nullptr;
    }
    if (header.encoding != kEncodingRle) {
        bgl_push_error("PCX: Only rle compressed images supported");
        return nullptr;
    }
    const int depth = header.bitsPerPlane * header.planes;
    bgl_verbose("PCX: Image is %ibit...\n", depth);
    if (header.xmax < header.xmin || header.ymax < header.ymin) {
        bgl_push_error("PCX: Invalid image dimensions");
        return nullptr;
    }
    if (header.bitsPerPlane != 8 || (header.planes != 1 && header.planes != 3)) {
        bgl_push_error("PCX: Unsupported bitdepth");
        return nullptr;
    }
    const int64_t width = int64_t(header.xmax) - header.xmin + 1;
    const int64_t height = int64_t(header.ymax) - header.ymin + 1;
    const uint64_t encodedTotal =
        uint64_t(header.bytesPerLine > 0 ? header.bytesPerLine : 0) * header.planes * uint64_t(height);
    if (!limits.fits(uint64_t(width), uint64_t(height), encodedTotal)) {
        bgl_push_error("PCX: Image too large");
        return nullptr;
    }
    // Each plane's line must hold the whole row; a shorter one would be read past.
    if (header.bytesPerLine < width) {
        bgl_push_error("PCX: Invalid bytes per line");
        return nullptr;
    }

    // Zeroed, so that what a short file does not decode stays black.
    auto* decoded = static_cast<uint8_t*>(std::calloc(size_t(encodedTotal) + 1, 1));
    if (!decoded) {
        bgl_push_error("PCX: Not enough memory for data");
        return nullptr;
    }
    ByteCursor in(data, size);
    in.skip(kHeaderBytes);
    decodeRle(in, decoded, encodedTotal);

    bglimage* image = bgl_create_image(uint16_t(width), uint16_t(height), uint16_t(depth), 0);
    if (!image) {
        bgl_push_error("PCX: Not enough memory for bglimage");
        std::free(decoded);
        return nullptr;
    }
    arrangeRows(decoded, header.planes, header.bytesPerLine, image);
    std::free(decoded);

    // A file too short to hold the marker and a palette simply has none.
    if (size >= kPaletteTailBytes && data[size - kPaletteTailBytes] == kPaletteMarker) {
        bgl_verbose("PCX: Palette found in image\n");
        image->palette = static_cast<uint8_t*>(std::malloc(kPaletteBytes));
        if (!image->palette) {
            bgl_push_error("PCX: Not enough memory for bglimage->palette");
            bgl_free_image(image);
            return nullptr;
        }
        image->palette_size = kPaletteEntries;
        std::memcpy(image->palette, data + size - kPaletteBytes, kPaletteBytes);
    }
    return image;
}
