// Reduces a true-colour picture to 256 palette entries for the 8-bit PCX files.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace forge {

struct IndexedPicture {
    std::vector<uint8_t> indices;       // one per pixel
    std::array<uint8_t, 768> palette{}; // 256 entries of red, green, blue
};

// Median cut over the picture's colours. Entry 0 is pure black and is used by exactly the pure
// black pixels, so "black is transparent" stays true after quantising; the other 255 entries
// are shared by the rest. rgb holds pixelCount pixels of red, green, blue.
IndexedPicture quantize(const std::vector<uint8_t>& rgb);

} // namespace forge
