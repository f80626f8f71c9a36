// The show's bitmap font "rel2.aff": grey-level glyphs rendered from a DejaVu face.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace forge {

// Every character the show writes, plus the blank between words.
constexpr const char* kFontCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789[]-.,:!?'/& ";

// The loading screen writes the title at x = 8 of a 320-pixel card, and the credits' last line
// stands at y = 160 of 200: the font is sized to both.
constexpr const char* kFontSizingText = "HALCYONVECTRUM";
constexpr int kFontMaxTextWidth = 312;
constexpr int kFontMaxGlyphHeight = 40;

constexpr int kFontHeaderBytes = 768; // 256 grey ramp entries of red, green, blue

// Builds the whole font file. Returns an empty string on success, otherwise the reason.
std::string makeFontFile(std::vector<uint8_t>* file);

// Writes "rel2.aff" into outDir.
std::string writeFontFile(const std::string& outDir);

} // namespace forge
