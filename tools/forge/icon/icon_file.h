// "halcyonvectrum.ico": the program's icon at the sizes Windows shows it, for the Windows
// executable's icon resource.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace forge {

inline constexpr const char* kIconFileName = "halcyonvectrum.ico";
// Square sizes, smallest first: title bars and lists, then the larger views.
inline constexpr int kIconSides[] = {16, 24, 32, 48, 64};

// The .ico file: a directory of images, each a 32-bit bottom-up bitmap with its alpha, followed
// by a 1-bit mask (set where the picture is transparent) for the system's older paths.
std::vector<uint8_t> encodeIconFile();

std::string writeIconFile(const std::string& outDir);

} // namespace forge
