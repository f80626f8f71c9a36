#include "music/player_music.h"

#include <algorithm>
#include <cmath>

namespace {
// The silent run renders in pieces of this many sample frames.
constexpr std::uint64_t kCueChunkFrames = 4096;

bool needModule(const ModulePlayer& player, std::string& error) {
    if (player.loaded()) return true;
    error = "No module loaded";
    return false;
}
} // namespace

bool PlayerMusic::cue(double seconds, std::string& error) {
    if (!needModule(player, error)) return false;
    if (!cued) {
        player.restart();
        cued = true;
    }
    const double frames = std::max(seconds, 0.0) * kAudioSampleRate;
    const auto target = static_cast<std::uint64_t>(std::llround(frames));
    cueScratch.resize(kCueChunkFrames * kAudioChannels);
    while (player.framesRendered() < target) {
        const std::uint64_t chunk = std::min(kCueChunkFrames, target - player.framesRendered());
        player.render(cueScratch.data(), static_cast<std::size_t>(chunk));
        player.hearAll();
    }
    return true;
}

bool PlayerMusic::restartPlayer(std::string& error) {
    if (!needModule(player, error)) return false;
    if (cued)
        cued = false; // the cue has started it and taken it this far
    else
        player.restart();
    return true;
}
