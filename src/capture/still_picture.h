#pragma once
// The still pictures the capture and the forge write (contact sheets), in the format the file's
// ending names: JPEG for ".jpg" and ".jpeg", PNG for ".png", in any letter case.
#include <cstdint>
#include <string>

enum class StillFormat { Jpeg, Png };

// The format `path`'s ending names; false for any other ending.
bool stillFormatFor(const std::string& path, StillFormat& format);
// What a usage message says the name must end in.
inline constexpr const char* kStillEndings = "must end in .jpg, .jpeg or .png";

// Writes packed rows of red, green and blue bytes to `path` (JPEG at the given quality); false
// with the reason (the caller names the file).
bool writeStill(const std::string& path, StillFormat format, const std::uint8_t* rgb, int width, int height,
                int jpegQuality, std::string& error);
