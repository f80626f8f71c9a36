// Every sync command of a module in play order, heard through the show's own module player:
// jumps and loops are followed as played, up to the end marker or the song's first repeat.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace xmsync {

constexpr int kEndMarker = 128;
constexpr int kNextPhase = 240; // pacing value most effects react to

struct HeardSync {
    int order = 0;
    int pattern = 0;
    int row = 0;
    double seconds = 0; // from the start of the song, when the row is heard
    int value = 0;
};

struct SyncListing {
    std::vector<HeardSync> syncs;
    bool endMarker = false; // the listing stopped at sync 128
    double seconds = 0;     // where the listing stopped: the end marker or the song's end
    std::string error;      // a load failure (nothing listed)
};

// `onAudio`, when given, sees every chunk the player renders up to where the listing stops
// (interleaved stereo 16-bit at kAudioSampleRate).
using AudioObserver = std::function<void(const std::int16_t* frames, std::size_t count)>;
SyncListing listSyncs(const std::string& path, const AudioObserver& onAudio = {});

// What a sync value does, given the value that started the effect now running (0: none yet)
// and how many times this value has come since that effect started (1 = the first time).
std::string describeSync(int value, int runningEffect, int nth);
// Whether the value starts an effect (or ends the show).
bool startsEffect(int value);

} // namespace xmsync
