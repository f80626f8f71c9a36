#include "forge/font/font_file.h"

#include "forge/common/write_file.h"
#include "forge/font/glyph_renderer.h"

#include <cstring>

namespace forge {

namespace {

constexpr int kLargestPixelSize = 48;
constexpr int kSmallestPixelSize = 8;

int textWidth(const std::vector<GreyGlyph>& cells, const std::string& characters, const char* text) {
    int width = 0;
    for (const char* c = text; *c; ++c) width += cells[characters.find(*c)].width;
    return width;
}

} // namespace

std::string makeFontFile(std::vector<uint8_t>* file) {
    GlyphRenderer renderer;
    if (std::string error = renderer.open(kBoldFace); !error.empty()) return error;

    // The largest size at which the title fits the card and no glyph is too tall.
    const std::string characters = kFontCharacters;
    std::vector<GreyGlyph> cells;
    int size = kLargestPixelSize;
    for (; size >= kSmallestPixelSize; --size) {
        if (std::string error = renderer.setPixelSize(size); !error.empty()) return error;
        if (std::string error = renderer.renderCells(characters, &cells); !error.empty()) return error;
        if (textWidth(cells, characters, kFontSizingText) <= kFontMaxTextWidth &&
            cells.front().height <= kFontMaxGlyphHeight)
            break;
    }
    if (size < kSmallestPixelSize) return "no font size fits the title";

    file->clear();
    for (int i = 0; i < kFontHeaderBytes / 3; ++i) file->insert(file->end(), 3, uint8_t(i));
    for (size_t i = 0; i < characters.size(); ++i) {
        const GreyGlyph& cell = cells[i];
        if (cell.width > 255 || cell.height > 255) return "a glyph is too large for the font format";
        file->push_back(uint8_t(characters[i]));
        file->push_back(uint8_t(cell.width));
        file->push_back(uint8_t(cell.height));
        file->insert(file->end(), cell.levels.begin(), cell.levels.end());
    }
    return {};
}

std::string writeFontFile(const std::string& outDir) {
    std::vector<uint8_t> file;
    if (std::string error = makeFontFile(&file); !error.empty()) return "font: " + error;
    return writeFile(outDir + "/rel2.aff", file);
}

} // namespace forge
