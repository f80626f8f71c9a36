#include "xmsync/sync_listing.h"

#include "music/module_player.h"

#include <cstdint>
#include <vector>

namespace xmsync {
namespace {

struct EffectName {
    int value;
    const char* name;
};

constexpr EffectName kEffects[] = {
    {2, "opening picture"}, {4, "credits"},         {10, "first zoom"},    {16, "first warp"},
    {18, "second warp"},    {22, "second zoom"},    {32, "tunnel"},        {36, "rippling surface"},
    {48, "gold 3D scene"},  {52, "metaball scene"}, {58, "double tunnel"}, {74, "closing picture"},
};

// What the running effect does with the nth arrival of a pacing value (0 = every later one).
struct Pacing {
    int effect;
    int value;
    int nth;
    const char* action;
};

constexpr Pacing kPacing[] = {
    {2, 3, 1, "the embossed band sweeps across"},  {4, 240, 1, "page 2: the picture slides in"},
    {4, 240, 2, "page 3: code credits"},           {4, 240, 3, "page 4: graphics and music credits"},
    {4, 240, 0, "nothing (no page left)"},         {10, 240, 1, "cross-fade to the second picture"},
    {18, 240, 1, "fade out over the second zoom"}, {22, 240, 1, "fade out over the tunnel"},
    {32, 240, 1, "the logo slides out"},           {32, 240, 0, "nothing (the logo is gone)"},
    {48, 50, 1, "the object leaves trails"},       {48, 50, 2, "the object is removed"},
};

const char* effectName(int value) {
    for (const EffectName& e : kEffects)
        if (e.value == value) return e.name;
    return nullptr;
}

// No song is allowed to run the listing forever.
constexpr double kMaxSeconds = 3600;

} // namespace

bool startsEffect(int value) {
    return value == kEndMarker || effectName(value) != nullptr;
}

std::string describeSync(int value, int runningEffect, int nth) {
    if (value == kEndMarker) return "end of the show";
    if (const char* name = effectName(value)) {
        std::string text = std::string("starts ") + name;
        if (value == 16) text += " (the show clock restarts)";
        return text;
    }
    const char* running = effectName(runningEffect);
    if (runningEffect == 36 && value == kNextPhase)
        return std::string(running) + (nth % 2 ? ": shows the next label" : ": blanks a label");
    const Pacing* later = nullptr;
    for (const Pacing& p : kPacing) {
        if (p.effect != runningEffect || p.value != value) continue;
        if (p.nth == nth) return std::string(running) + ": " + p.action;
        if (p.nth == 0) later = &p;
    }
    if (later) return std::string(running) + ": " + later->action;
    return running ? std::string("nothing (the ") + running + " ignores it)" : "nothing";
}

SyncListing listSyncs(const std::string& path, const AudioObserver& onAudio) {
    SyncListing listing;
    ModulePlayer player;
    if (!player.load(path, listing.error)) return listing;

    // Render one chunk at a time and hear each chunk's rows at once: a row is noticed at the
    // start of the chunk it begins in, so its time is that chunk's first frame.
    std::uint64_t chunkStart = 0;
    player.setSyncCallback([&](int value) {
        const PlayStatus status = player.status();
        const double seconds = double(chunkStart) / kAudioSampleRate;
        listing.syncs.push_back({status.position, status.pattern, status.row, seconds, value});
        if (value == kEndMarker && !listing.endMarker) {
            listing.endMarker = true;
            listing.seconds = seconds;
        }
    });
    const double songSeconds = player.durationSeconds();
    const double limit = songSeconds > 0 && songSeconds < kMaxSeconds ? songSeconds : kMaxSeconds;
    std::vector<std::int16_t> buffer(ModulePlayer::kChunkFrames * kAudioChannels);
    while (!listing.endMarker) {
        chunkStart = player.framesRendered();
        if (double(chunkStart) / kAudioSampleRate >= limit) {
            listing.seconds = limit;
            break;
        }
        player.render(buffer.data(), ModulePlayer::kChunkFrames);
        player.hear(chunkStart);
        if (onAudio && !listing.endMarker) onAudio(buffer.data(), ModulePlayer::kChunkFrames);
    }
    return listing;
}

} // namespace xmsync
