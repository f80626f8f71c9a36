#include "forge/font/glyph_renderer.h"

#include <algorithm>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace forge {

namespace {

constexpr int kSubPixel = 64; // FreeType's 26.6 fixed point

// One rendered character before it is placed in a cell.
struct Ink {
    int left = 0;    // bitmap's offset from the pen
    int top = 0;     // rows above the baseline
    int advance = 0; // pen movement, whole pixels
    int width = 0;
    int rows = 0;
    std::vector<uint8_t> levels;
};

} // namespace

struct GlyphRenderer::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    std::string render(unsigned char code, Ink* ink) {
        if (!face) return "no font face is open";
        if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL))
            return std::string("cannot render the character '") + char(code) + "'";
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.rows > 0) return "unexpected glyph bitmap mode";
        ink->left = slot->bitmap_left;
        ink->top = slot->bitmap_top;
        ink->advance = int((slot->advance.x + kSubPixel / 2) / kSubPixel);
        ink->width = int(bitmap.width);
        ink->rows = int(bitmap.rows);
        ink->levels.assign(size_t(ink->width) * size_t(ink->rows), 0);
        for (int y = 0; y < ink->rows; ++y)
            std::copy_n(bitmap.buffer + ptrdiff_t(y) * bitmap.pitch, ink->width,
                        ink->levels.begin() + ptrdiff_t(y) * ink->width);
        return {};
    }
};

GlyphRenderer::GlyphRenderer() : impl(new Impl) {}

GlyphRenderer::~GlyphRenderer() {
    if (impl->face) FT_Done_Face(impl->face);
    if (impl->library) FT_Done_FreeType(impl->library);
    delete impl;
}

std::string GlyphRenderer::open(const std::string& facePath) {
    if (!impl->library && FT_Init_FreeType(&impl->library)) return "cannot start FreeType";
    if (impl->face) {
        FT_Done_Face(impl->face);
        impl->face = nullptr;
    }
    if (FT_New_Face(impl->library, facePath.c_str(), 0, &impl->face))
        return "cannot open the font face " + facePath + " (is fonts-dejavu-core installed?)";
    return {};
}

std::string GlyphRenderer::setPixelSize(int pixels) {
    if (!impl->face) return "no font face is open";
    if (FT_Set_Pixel_Sizes(impl->face, 0, FT_UInt(pixels))) return "cannot set the font size";
    return {};
}

std::string GlyphRenderer::renderCells(const std::string& characters, std::vector<GreyGlyph>* cells) {
    std::vector<Ink> inks(characters.size());
    int ascent = 0;
    int descent = 0;
    for (size_t i = 0; i < characters.size(); ++i) {
        if (std::string error = impl->render(static_cast<unsigned char>(characters[i]), &inks[i]);
            !error.empty())
            return error;
        if (inks[i].rows > 0) {
            ascent = std::max(ascent, inks[i].top);
            descent = std::max(descent, inks[i].rows - inks[i].top);
        }
    }
    cells->clear();
    for (const Ink& ink : inks) {
        // Ink that starts left of the pen is pulled in, so no glyph loses columns.
        const int left = std::max(0, ink.left);
        GreyGlyph cell;
        cell.width = std::max(ink.advance, left + ink.width);
        cell.height = ascent + descent;
        cell.levels.assign(size_t(cell.width) * size_t(cell.height), 0);
        for (int y = 0; y < ink.rows; ++y) {
            const int row = ascent - ink.top + y;
            if (row < 0 || row >= cell.height) continue;
            std::copy_n(ink.levels.begin() + ptrdiff_t(y) * ink.width, ink.width,
                        cell.levels.begin() + ptrdiff_t(row) * cell.width + left);
        }
        cells->push_back(std::move(cell));
    }
    return {};
}

std::string GlyphRenderer::renderLine(const std::string& text, GreyGlyph* line) {
    std::vector<GreyGlyph> cells;
    if (std::string error = renderCells(text, &cells); !error.empty()) return error;
    int width = 0;
    int height = 0;
    for (const GreyGlyph& cell : cells) {
        width += cell.width;
        height = std::max(height, cell.height);
    }
    std::vector<uint8_t> levels(size_t(width) * size_t(height), 0);
    int pen = 0;
    for (const GreyGlyph& cell : cells) {
        for (int y = 0; y < cell.height; ++y)
            for (int x = 0; x < cell.width; ++x) {
                uint8_t& out = levels[size_t(y) * width + pen + x];
                out = std::max(out, cell.levels[size_t(y) * cell.width + x]);
            }
        pen += cell.width;
    }
    // Crop to the ink so callers can place the line exactly.
    int x0 = width, x1 = -1, y0 = height, y1 = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (levels[size_t(y) * width + x]) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    line->width = x1 < x0 ? 0 : x1 - x0 + 1;
    line->height = y1 < y0 ? 0 : y1 - y0 + 1;
    line->levels.assign(size_t(line->width) * size_t(line->height), 0);
    for (int y = 0; y < line->height; ++y)
        std::copy_n(levels.begin() + ptrdiff_t(y + y0) * width + x0, line->width,
                    line->levels.begin() + ptrdiff_t(y) * line->width);
    return {};
}

} // namespace forge
