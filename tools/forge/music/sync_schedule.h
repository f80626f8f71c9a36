// When the soundtrack raises each sync command: the timeline of the show, laid out in order
// positions and rows of 64-row patterns. The composition builds its sections around it.
#pragma once

#include <cstdint>
#include <vector>

namespace forge {

// Sync values the show understands.
enum SyncValue : uint8_t {
    kSyncOpening = 2,
    kSyncBand = 3,
    kSyncCredits = 4,
    kSyncFirstZoom = 10,
    kSyncFirstWarp = 16,
    kSyncSecondWarp = 18,
    kSyncSecondZoom = 22,
    kSyncTunnel = 32,
    kSyncRipple = 36,
    kSyncGold = 48,
    kSyncGoldStep = 50,
    kSyncMetaballs = 52,
    kSyncDoubleTunnel = 58,
    kSyncClosing = 74,
    kSyncEnd = 128,
    kSyncNext = 240,
};

// Six ticks a row at 130 beats a minute: a row lasts 0.115 s and a 64-row pattern 7.4 s.
constexpr int kSongSpeed = 6;
constexpr int kSongBpm = 130;
constexpr int kPatternRows = 64;
constexpr int kRowsPerBeat = 4;
constexpr int kRowsPerBar = 16;
constexpr int kBarsPerPattern = kPatternRows / kRowsPerBar;

struct SyncEvent {
    int order;
    int row;
    uint8_t value;
};

// Every sync command in play order; the last one is the end marker.
std::vector<SyncEvent> showSyncSchedule();

// Order positions of the song: the end marker stands at row 0 of the last one.
int showOrderCount();

double secondsPerRow();

} // namespace forge
