// The show's music file, written by the forge as "halcyver.xm".
#pragma once

#include <string>

namespace forge {

constexpr char kSoundtrackFileName[] = "halcyver.xm";

// Writes the soundtrack into outDir; returns an error text, empty on success.
std::string writeSoundtrack(const std::string& outDir);

} // namespace forge
