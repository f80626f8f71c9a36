#pragma once
#include <cstdint>
#include <string>

// Writes 0x00RRGGBB pixels (pitch in bytes) as an 8-bit RGB PNG; false with the reason (the
// caller names the file) on failure.
bool writePng(const std::string& path, const std::uint32_t* pixels, int width, int height, int pitch,
              std::string& error);
// The same from packed rows of red, green and blue bytes.
bool writePngRgb(const std::string& path, const std::uint8_t* rgb, int width, int height, std::string& error);
