// The show's proportional bitmap font: grey-level glyphs read from an ".aff" file, drawn
// straight into 32-bit pixel buffers or rendered into a new picture.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

struct bglimage;

// One glyph: width x height grey levels, top row first; level 0 is transparent.
struct Glyph {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

class BitmapFont {
public:
    static constexpr int kHeaderBytes = 768;
    static constexpr int kCharacters = 256;

    // An empty font: every character only advances.
    BitmapFont();
    // Sets up an empty font, then loads path.
    explicit BitmapFont(const char* path);

    // Reads an ".aff" font: a 768-byte header block, then glyph records (code, width, height,
    // width x height levels) until the end of the file; a later record for a code replaces the
    // earlier one. A record cut short by the end of the file is dropped. A missing file leaves
    // the font as it was. Returns false when the file could not be read at all.
    bool load(const char* path);
    // The same, from bytes in memory.
    void loadFromBytes(const uint8_t* data, size_t size);

    // Draws a NUL-terminated string with its top-left corner at (x, y) into a buffer of
    // width x height 32-bit pixels (pitch = width). Glyphs that do not fit whole are skipped but
    // still advance the pen; characters without a glyph advance by defaultAdvance.
    void drawText(uint8_t* pixels, int width, int height, const char* text, int x, int y) const;
    // Draws one glyph, unclipped: the caller makes sure it fits.
    void drawGlyph(uint8_t* pixels, int width, unsigned char code, int x, int y) const;
    // A new 32-bit picture exactly as large as the text, black behind the glyphs; the caller owns
    // it. A text with no glyphs gives a picture of height 0. Returns none if it cannot be made.
    bglimage* makeTextImage(const char* text) const;

    uint8_t defaultAdvance = 10;
    std::array<uint8_t, kHeaderBytes> headerBlock{};
    std::array<std::unique_ptr<Glyph>, kCharacters> glyphs;
};
