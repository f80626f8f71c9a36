#include "forge/icon/icon_file.h"

#include "forge/common/write_file.h"
#include "resources/program_icon.h"

namespace forge {

namespace {

constexpr int kDirectoryBytes = 6;
constexpr int kEntryBytes = 16;
constexpr int kBitmapHeaderBytes = 40;
constexpr uint16_t kIconType = 1;
constexpr uint16_t kBitsPerPixel = 32;

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

// Mask rows are padded to whole 32-bit words.
int maskRowBytes(int side) {
    return (side + 31) / 32 * 4;
}

int imageBytes(int side) {
    return kBitmapHeaderBytes + side * side * 4 + maskRowBytes(side) * side;
}

// One image: its bitmap header (height counts picture and mask), pixels in BGRA from the bottom
// row up, then the mask in the same order.
void putImage(std::vector<uint8_t>& out, int side) {
    const std::vector<uint32_t> argb = drawProgramIcon(side);
    put32(out, kBitmapHeaderBytes);
    put32(out, uint32_t(side));
    put32(out, uint32_t(side) * 2);
    put16(out, 1); // planes
    put16(out, kBitsPerPixel);
    put32(out, 0); // no compression
    put32(out, uint32_t(imageBytes(side) - kBitmapHeaderBytes));
    for (int i = 0; i < 4; ++i) put32(out, 0); // resolution and palette: unused
    for (int y = side - 1; y >= 0; --y)
        for (int x = 0; x < side; ++x) put32(out, argb[size_t(y) * side + x]); // little-endian: B, G, R, A
    for (int y = side - 1; y >= 0; --y) {
        std::vector<uint8_t> row(size_t(maskRowBytes(side)), 0);
        for (int x = 0; x < side; ++x)
            if ((argb[size_t(y) * side + x] >> 24) == 0) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

} // namespace

std::vector<uint8_t> encodeIconFile() {
    constexpr int kCount = int(sizeof kIconSides / sizeof kIconSides[0]);
    std::vector<uint8_t> out;
    put16(out, 0); // reserved
    put16(out, kIconType);
    put16(out, kCount);
    uint32_t offset = kDirectoryBytes + kEntryBytes * kCount;
    for (int side : kIconSides) {
        out.push_back(uint8_t(side)); // 256 would be written as 0
        out.push_back(uint8_t(side));
        out.push_back(0); // no palette
        out.push_back(0); // reserved
        put16(out, 1);    // planes
        put16(out, kBitsPerPixel);
        put32(out, uint32_t(imageBytes(side)));
        put32(out, offset);
        offset += uint32_t(imageBytes(side));
    }
    for (int side : kIconSides) putImage(out, side);
    return out;
}

std::string writeIconFile(const std::string& outDir) {
    return writeFile(outDir + "/" + kIconFileName, encodeIconFile());
}

} // namespace forge
