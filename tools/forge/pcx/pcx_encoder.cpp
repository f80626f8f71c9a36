// PCX encoder.
#include "forge/pcx/pcx_encoder.h"

#include <cstddef>

namespace forge {
namespace {

constexpr int kHeaderBytes = 128;
constexpr uint8_t kManufacturerZsoft = 10;
constexpr uint8_t kVersion30 = 5;
constexpr uint8_t kEncodingRle = 1;
constexpr uint8_t kRunFlags = 0xC0;
constexpr int kMaxRun = 63;
constexpr uint8_t kPaletteMarker = 12;
constexpr int kPaletteBytes = 256 * 3;
constexpr int kDpi = 72;

void put16(std::vector<uint8_t>& out, size_t at, int value) {
    out[at] = uint8_t(value & 0xFF);
    out[at + 1] = uint8_t((value >> 8) & 0xFF);
}

// Bytes per plane line is even, as readers of the format expect.
int bytesPerLine(int width) {
    return (width + 1) & ~1;
}

std::vector<uint8_t> header(int width, int height, int planes) {
    std::vector<uint8_t> out(kHeaderBytes, 0);
    out[0] = kManufacturerZsoft;
    out[1] = kVersion30;
    out[2] = kEncodingRle;
    out[3] = 8;
    put16(out, 8, width - 1);
    put16(out, 10, height - 1);
    put16(out, 12, kDpi);
    put16(out, 14, kDpi);
    out[65] = uint8_t(planes);
    put16(out, 66, bytesPerLine(width));
    put16(out, 68, 1); // palette type: colour
    return out;
}

// One plane line; runs stop at its end. A byte with both top bits set is always written as a
// run so that a reader cannot take it for a run count.
void encodeLine(std::vector<uint8_t>& out, const std::vector<uint8_t>& line) {
    for (size_t i = 0; i < line.size();) {
        const uint8_t value = line[i];
        size_t run = 1;
        while (i + run < line.size() && line[i + run] == value && run < kMaxRun) ++run;
        if (run > 1 || (value & kRunFlags) == kRunFlags) out.push_back(uint8_t(kRunFlags | run));
        out.push_back(value);
        i += run;
    }
}

// `sample(x, y, plane)` gives one byte of one plane; padding bytes are 0.
template <typename Sample> std::vector<uint8_t> encode(int width, int height, int planes, Sample&& sample) {
    std::vector<uint8_t> out = header(width, height, planes);
    std::vector<uint8_t> line(size_t(bytesPerLine(width)), 0);
    for (int y = 0; y < height; ++y) {
        for (int p = 0; p < planes; ++p) {
            for (int x = 0; x < width; ++x) line[size_t(x)] = sample(x, y, p);
            encodeLine(out, line);
        }
    }
    return out;
}

} // namespace

std::vector<uint8_t> encodePcx8(int width, int height, const uint8_t* indices, const uint8_t* palette) {
    std::vector<uint8_t> out =
        encode(width, height, 1, [&](int x, int y, int) { return indices[size_t(y) * width + x]; });
    out.push_back(kPaletteMarker);
    out.insert(out.end(), palette, palette + kPaletteBytes);
    return out;
}

std::vector<uint8_t> encodePcx24(int width, int height, const uint8_t* rgb) {
    return encode(width, height, 3,
                  [&](int x, int y, int p) { return rgb[(size_t(y) * width + x) * 3 + p]; });
}

} // namespace forge
