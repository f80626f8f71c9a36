#include "resources/bitmap_font.h"

#include "core/byte_cursor.h"
#include "core/read_file.h"
#include "imagelib/bgl_image.h"

#include <algorithm>
#include <cassert>

namespace {

constexpr int kBytesPerPixel = 4;

// Far beyond any font: 256 glyphs of 255x255 levels take some 16 MB.
constexpr uint64_t kMaxFontBytes = uint64_t(64) << 20;

} // namespace

BitmapFont::BitmapFont() = default;

BitmapFont::BitmapFont(const char* path) {
    load(path);
}

bool BitmapFont::load(const char* path) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, kMaxFontBytes, bytes).ok()) return false;
    loadFromBytes(bytes.data(), bytes.size());
    return true;
}

void BitmapFont::loadFromBytes(const uint8_t* data, size_t size) {
    ByteCursor cursor(data, size);
    // A file shorter than its header holds no glyphs.
    std::array<uint8_t, kHeaderBytes> header;
    if (!cursor.take(header.data(), header.size())) return;
    headerBlock = header;
    while (!cursor.atEnd()) {
        const uint8_t code = cursor.u8();
        auto glyph = std::make_unique<Glyph>();
        glyph->width = cursor.u8();
        glyph->height = cursor.u8();
        glyph->pixels.resize(size_t(glyph->width) * size_t(glyph->height));
        cursor.take(glyph->pixels.data(), glyph->pixels.size());
        // A record cut short by the end of the file has no contents to trust: drop it.
        if (cursor.failed()) return;
        glyphs[code] = std::move(glyph);
    }
}

void BitmapFont::drawText(uint8_t* pixels, int width, int height, const char* text, int x, int y) const {
    // The pen runs in 64 bits: a long text cannot wrap it round into the buffer again.
    int64_t pen = x;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        const Glyph* glyph = glyphs[*c].get();
        if (!glyph) {
            pen += defaultAdvance;
            continue;
        }
        if (pen >= 0 && pen + glyph->width <= width && y >= 0 && int64_t(y) + glyph->height <= height)
            drawGlyph(pixels, width, *c, int(pen), y);
        pen += glyph->width;
    }
}

void BitmapFont::drawGlyph(uint8_t* pixels, int width, unsigned char code, int x, int y) const {
    const Glyph* glyph = glyphs[code].get();
    if (!glyph) return;
    assert(x >= 0 && y >= 0 && x + glyph->width <= width);
    const uint8_t* level = glyph->pixels.data();
    for (int row = 0; row < glyph->height; ++row) {
        uint8_t* out = pixels + (ptrdiff_t(y + row) * width + x) * kBytesPerPixel;
        for (int column = 0; column < glyph->width; ++column, ++level, out += kBytesPerPixel) {
            if (*level == 0) continue;
            out[0] = out[1] = out[2] = *level; // blue, green, red; the fourth byte stays
        }
    }
}

bglimage* BitmapFont::makeTextImage(const char* text) const {
    int64_t width = 0;
    int height = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        const Glyph* glyph = glyphs[*c].get();
        width += glyph ? glyph->width : defaultAdvance;
        if (glyph && glyph->height > height) height = glyph->height;
    }
    // The picture's sides are 16-bit: a longer text cannot be made into one.
    if (width > 0xFFFF) return nullptr;
    bglimage* image = bgl_create_image(uint16_t(width), uint16_t(height), 32, 0);
    if (!image) return nullptr;
    if (height > 0) drawText(image->image, int(width), height, text, 0, 0);
    return image;
}
