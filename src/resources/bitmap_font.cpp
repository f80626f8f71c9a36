#include "resources/bitmap_font.h"

#include "imagelib/bgl_image.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

namespace {

constexpr int kBytesPerPixel = 4;

// Bounded reader over the font's bytes: reads past the end yield 0 and set a sticky flag.
struct ByteCursor {
    const uint8_t* data;
    size_t size;
    size_t position = 0;
    bool overrun = false;

    bool atEnd() const { return position >= size; }
    uint8_t byte() {
        if (position >= size) {
            overrun = true;
            return 0;
        }
        return data[position++];
    }
    // Copies count bytes, or sets the flag and copies nothing when fewer remain.
    bool bytes(uint8_t* out, size_t count) {
        if (overrun || size - position < count) {
            overrun = true;
            position = size;
            return false;
        }
        std::copy(data + position, data + position + count, out);
        position += count;
        return true;
    }
};

} // namespace

BitmapFont::BitmapFont() = default;

BitmapFont::BitmapFont(const char* path) {
    load(path);
}

bool BitmapFont::load(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) return false;
    loadFromBytes(bytes.data(), bytes.size());
    return true;
}

void BitmapFont::loadFromBytes(const uint8_t* data, size_t size) {
    ByteCursor cursor{data, size};
    // A file shorter than its header holds no glyphs.
    if (!cursor.bytes(headerBlock.data(), headerBlock.size())) return;
    while (!cursor.atEnd()) {
        const uint8_t code = cursor.byte();
        auto glyph = std::make_unique<Glyph>();
        glyph->width = cursor.byte();
        glyph->height = cursor.byte();
        glyph->pixels.resize(size_t(glyph->width) * size_t(glyph->height));
        cursor.bytes(glyph->pixels.data(), glyph->pixels.size());
        // A record cut short by the end of the file has no contents to trust: drop it.
        if (cursor.overrun) return;
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
