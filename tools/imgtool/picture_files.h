// imgtool's file side: reading a picture with the reader its ending picks (the library's, or
// imgtool's own for PPM), writing PPM or JPEG.
#pragma once

#include "imagelib/bgl_image.h"

#include <cstdio>
#include <string>

namespace imgtool {

// A file name's ending after its last dot, in lower case; empty when it has none.
std::string lowerEnding(const std::string& path);

// The reader for a file's ending (any letter case); null with a message pushed when none fits.
bglimage* loadPicture(const std::string& path);

// Writes the picture as binary PPM (8-bit RGB) to `out`; converts it to 24 bits first.
bool writePpm(bglimage* image, std::FILE* out);

// Writes the picture as PPM to `path`, or to `stdoutFile` when `path` is "-".
bool savePpm(bglimage* image, const std::string& path, std::FILE* stdoutFile);

// Writes to `path` by its ending: ".jpg"/".jpeg" as JPEG, ".ppm"/".pnm" as PPM; `stdoutFile`
// stands for "-". False with a message pushed on failure.
bool savePicture(bglimage* image, const std::string& path, std::FILE* stdoutFile);

} // namespace imgtool
