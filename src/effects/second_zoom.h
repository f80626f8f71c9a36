#pragma once
// The second zoom (sync value 22): four pictures fly towards the viewer on black, with the relief
// window and the logo. A sync event of value 240 fades them out over the tunnel as the pattern
// plays; after a second one only the relief window and the logo are drawn, over the last frame.
// The second warp draws this effect under its own fade before sync value 22 arrives, and keeps
// its clock and sync events current meanwhile (runUnderneath), so start() leaves lastTime alone.
#include <vector>

#include "effects/effect.h"
#include "effects/support/sync_watch.h"
#include "render2d/sprite_zoomer.h"

class SecondZoom : public Effect {
public:
    static constexpr int kPageSyncValue = 240;

    // "hubsu2.jpg", "galak2k.jpg", "pleisu2.jpg", "spirsu2.jpg", each scaled to 512x512.
    void load();
    void start();
    void render() override;

    // For the effect that draws this one underneath its own frame: the sync events up to
    // `syncCount` are that effect's, and the flight goes on from `time` (hundredths of a second).
    void runUnderneath(int syncCount, int time) {
        pages.takeUpTo(syncCount);
        lastTime = time;
    }

    SpriteZoomer zoomer;
    float depthA = 512.0f;
    float depthB = 767.0f;
    std::vector<Pixel> buffer; // 320x200: the pictures before they are faded over the tunnel
    int phase = 0;
    SyncWatch pages{kPageSyncValue};
    int lastTime = 0;
};

// The one second zoom; the second warp draws it under its own fade.
extern SecondZoom secondZoom;
