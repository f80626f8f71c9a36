#include "forge/music/sync_schedule.h"

namespace forge {
namespace {

constexpr double kSecondsPerTickAtOneBpm = 2.5; // XM: a tick lasts 2.5 / BPM seconds

std::vector<SyncEvent> buildSchedule() {
    std::vector<SyncEvent> s = {
        {0, 0, kSyncOpening},
        {0, 36, kSyncBand},    // the picture has faded in (4 s)
        {1, 28, kSyncCredits}, // the embossed band has crossed (6.2 s)
        // Credits: the flower opens (11.5 s); page 1 slides over one pattern; pages 2 and 3
        // choose their lines by position mod 4, so each starts on a multiple of 4.
        {3, 0, kSyncNext},
        {4, 0, kSyncNext},
        {8, 0, kSyncNext},
        {12, 0, kSyncFirstZoom},
        {13, 32, kSyncNext}, // after 11 s of zooming, 3.7 s of cross-fade
        {14, 0, kSyncFirstWarp},
        {15, 0, kSyncSecondWarp}, // the first warp's edge has crossed (7.4 s)
        {18, 0, kSyncNext},       // 22 s for the second edge, then a fade over one pattern
        {19, 0, kSyncSecondZoom},
        {20, 0, kSyncNext}, // fade over one pattern into the tunnel
        {21, 0, kSyncTunnel},
        {22, 0, kSyncNext}, // the logo slides out
        {23, 0, kSyncRipple},
    };
    // The rippling surface cycles its labels on every other beat for two patterns.
    for (int row = 2 * kRowsPerBeat; row < 2 * kPatternRows; row += 2 * kRowsPerBeat)
        s.push_back({23 + row / kPatternRows, row % kPatternRows, kSyncNext});
    const std::vector<SyncEvent> rest = {
        {25, 0, kSyncGold},      {26, 24, kSyncGoldStep}, // 10.2 s after the scene starts
        {27, 32, kSyncGoldStep},                          // 8.3 s later
        {28, 0, kSyncMetaballs}, {30, 0, kSyncDoubleTunnel}, {32, 0, kSyncClosing}, {33, 0, kSyncEnd},
    };
    s.insert(s.end(), rest.begin(), rest.end());
    return s;
}

} // namespace

std::vector<SyncEvent> showSyncSchedule() {
    return buildSchedule();
}

int showOrderCount() {
    return showSyncSchedule().back().order + 1;
}

double secondsPerRow() {
    return kSongSpeed * kSecondsPerTickAtOneBpm / kSongBpm;
}

} // namespace forge
