// PCX encoder for the content generator and the tests: run-length encoded, version 5, either one
// 8-bit plane with the 256-colour palette after the marker byte 12, or three 8-bit planes
// (red, green, blue per scan line) for 24-bit pictures.
#pragma once

#include <cstdint>
#include <vector>

namespace forge {

// `indices`: width*height bytes, rows top first. `palette`: 256 entries of red, green, blue.
std::vector<uint8_t> encodePcx8(int width, int height, const uint8_t* indices, const uint8_t* palette);
// `rgb`: width*height pixels of red, green, blue, rows top first.
std::vector<uint8_t> encodePcx24(int width, int height, const uint8_t* rgb);

} // namespace forge
