#pragma once
// The second warp (sync value 18): two rippling photographs, "orion5.jpg" giving way to
// "orion2.jpg" behind a wavy edge that moves from left to right. A sync event of value 240 fades
// the rippling picture out over the second zoom as the pattern plays; later ones leave only the
// relief window and the logo over the last frame.
#include <memory>
#include <vector>

#include "effects/effect.h"
#include "effects/support/sync_watch.h"
#include "render2d/ring_warp.h"

class SecondWarp : public Effect {
public:
    static constexpr int kPageSyncValue = 240;

    void load();
    void start();
    void render() override;

    std::unique_ptr<RingWarp> warpA; // over "orion2.jpg": where the edge has passed
    std::unique_ptr<RingWarp> warpB; // over "orion5.jpg": ahead of the edge
    std::vector<Pixel> buffer;       // 320x200
    int startTime = 0;
    int phase = 0;
    SyncWatch pages{kPageSyncValue};
};
