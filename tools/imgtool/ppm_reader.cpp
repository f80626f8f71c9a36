// Binary PPM: "P6", then width, height and the maximum value as decimal numbers, each after
// whitespace or "#" comments to the end of their line, one whitespace byte, and the pixels as
// red, green, blue bytes, rows top first.
#include "ppm_reader.h"

#include "core/byte_cursor.h"
#include "core/read_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace imgtool {
namespace {

constexpr int kMaxValue = 255;
constexpr std::uint32_t kMaxSide = 65535; // the picture record's limit
// Far above any picture the show or the tools make; a larger file is refused before it is read.
constexpr std::uint64_t kMaxFileBytes = 512ull << 20;

bool isSpace(std::uint8_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The next header number, after whitespace and comments; false when there is none or it would
// exceed `limit`.
bool headerNumber(ByteCursor& in, std::uint32_t limit, std::uint32_t& out) {
    for (;;) {
        if (in.atEnd()) return false;
        const std::uint8_t c = *in.here();
        if (isSpace(c)) {
            in.skip(1);
        } else if (c == '#') {
            while (!in.atEnd() && in.u8() != '\n') {}
        } else {
            break;
        }
    }
    std::uint64_t value = 0;
    int digits = 0;
    while (!in.atEnd() && *in.here() >= '0' && *in.here() <= '9') {
        value = value * 10 + (in.u8() - '0');
        if (value > limit) return false;
        ++digits;
    }
    out = static_cast<std::uint32_t>(value);
    return digits > 0;
}

} // namespace

bglimage* decodePpm(const std::uint8_t* data, std::size_t size) {
    ByteCursor in(data, size);
    std::uint8_t magic[2];
    if (!in.take(magic, 2) || magic[0] != 'P' || magic[1] != '6') {
        bgl_push_error("PPM: Not a binary PPM (P6) file");
        return nullptr;
    }
    std::uint32_t width = 0, height = 0, maxValue = 0;
    if (!headerNumber(in, kMaxSide, width) || !headerNumber(in, kMaxSide, height) ||
        !headerNumber(in, kMaxSide, maxValue) || in.atEnd() || !isSpace(in.u8())) {
        bgl_push_error("PPM: Bad header");
        return nullptr;
    }
    if (width == 0 || height == 0) {
        bgl_push_error("PPM: Empty picture");
        return nullptr;
    }
    if (maxValue != kMaxValue) {
        bgl_push_error("PPM: Only 8-bit PPM (maximum value 255) is read");
        return nullptr;
    }
    const std::uint64_t bytes = std::uint64_t(width) * height * 3;
    if (in.remaining() < bytes) {
        bgl_push_error("PPM: File is cut short");
        return nullptr;
    }
    bglimage* image = bgl_create_image(std::uint16_t(width), std::uint16_t(height), 24, 0);
    if (!image) {
        bgl_push_error("PPM: Not enough memory for bglimage");
        return nullptr;
    }
    std::memcpy(image->image, in.here(), std::size_t(bytes));
    return image;
}

bglimage* loadPpm(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const ReadFileResult read = readWholeFile(path.c_str(), kMaxFileBytes, bytes);
    switch (read.status) {
        case ReadFileStatus::Ok:
            return decodePpm(bytes.data(), bytes.size());
        case ReadFileStatus::CannotOpen:
            bgl_push_error("PPM: File not found");
            return nullptr;
        case ReadFileStatus::TooLarge:
            bgl_push_error("PPM: File too large");
            return nullptr;
        case ReadFileStatus::ReadError:
            break;
    }
    bgl_push_error("PPM: Could not read file");
    return nullptr;
}

} // namespace imgtool
