// One-component (greyscale) JPEG files. The picture library writes colour JPEGs only; a few of
// the show's pictures are grey on purpose, so that its reader's grey path is used.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace forge {

// Encodes width x height grey levels (rows top first). Returns an empty string on success.
std::string encodeGreyJpeg(int width, int height, const std::vector<uint8_t>& levels, int quality,
                           std::vector<uint8_t>* file);

} // namespace forge
