#pragma once
#include <cstdint>
#include <string>

// Writes 0x00RRGGBB pixels (pitch in bytes) as an 8-bit RGB PNG; false with a reason on failure.
bool writePng(const std::string& path, const std::uint32_t* pixels, int width, int height, int pitch,
              std::string& error);
