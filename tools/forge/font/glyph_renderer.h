// Antialiased text from a TrueType face, through FreeType: the show's font and the maker's logo
// are both rendered from the system's DejaVu faces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace forge {

constexpr const char* kBoldFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// One rendered glyph in a cell of the line's full height, baseline at the same row for every glyph.
struct GreyGlyph {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> levels; // width x height coverage values, top row first, 0 = no ink
};

// A face opened at one pixel size. Errors are reported by the functions that open or render.
class GlyphRenderer {
public:
    GlyphRenderer();
    ~GlyphRenderer();
    GlyphRenderer(const GlyphRenderer&) = delete;
    GlyphRenderer& operator=(const GlyphRenderer&) = delete;

    // Returns an empty string on success, otherwise the reason.
    std::string open(const std::string& facePath);
    std::string setPixelSize(int pixels);

    // Renders each character into a cell whose top is the tallest ascent and whose bottom is the
    // deepest descent among all of them, so glyphs drawn top-aligned share one baseline.
    std::string renderCells(const std::string& characters, std::vector<GreyGlyph>* cells);

    // Renders a whole string as one line, cropped to the rows and columns that hold ink.
    std::string renderLine(const std::string& text, GreyGlyph* line);

private:
    struct Impl;
    Impl* impl;
};

} // namespace forge
