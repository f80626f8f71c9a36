// imgtool's own PPM reader, as the picture library reads no PPM: binary PPM ("P6") with a
// maximum value of 255, the form topnm and convert write, into a 24-bit picture.
#pragma once

#include "imagelib/bgl_image.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace imgtool {

// Null with a message pushed on the library's error stack when the bytes are not such a PPM.
bglimage* decodePpm(const std::uint8_t* data, std::size_t size);
// The same from a file.
bglimage* loadPpm(const std::string& path);

} // namespace imgtool
