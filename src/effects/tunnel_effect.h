#pragma once
// The texture tunnel (sync value 32): the table-driven background streaming towards the viewer,
// ten falling flares, a relief window at the lower left and the logo at the top right, which a
// sync event of value 240 sends sliding off to the left.
#include <array>
#include <cstdint>
#include <vector>

#include "effects/effect.h"
#include "effects/support/sync_watch.h"
#include "render2d/flare.h"

struct bglimage;

class TunnelEffect : public Effect {
public:
    static constexpr int kFlareCount = 10;
    static constexpr int kLogoSlideSyncValue = 240;

    // Reads the table, the texture "orion.jpg" and the flare picture "flare.jpg" under "data/";
    // a missing or short file ends the show with a message naming it.
    void load();
    void start();
    void render() override;

    // Draws one frame into a 320x200 buffer and moves the tunnel and the flares on.
    void drawFrame(Pixel* screen);
    // Where the logo goes this frame; false once it has slid away for good.
    bool logoColumn(int& x) const;
    // For an effect that draws the tunnel underneath its own frame: the sync events up to
    // `syncCount` are that effect's, not the logo's.
    void runUnderneath(int syncCount) { logoSlide.takeUpTo(syncCount); }

    int phase = 0; // sync events of value 240 seen since start()
    SyncWatch logoSlide{kLogoSlideSyncValue};
    int phaseStartTime = 0;
    // Advanced by +1 and -1 every frame, never reset by start(). Kept modulo the texture's
    // texel count, which is all the lookup uses, so a long run cannot overflow them.
    unsigned frame = 0;
    unsigned turn = 0;
    std::array<Flare, kFlareCount> flares;
    std::vector<std::uint16_t> table;
    std::vector<Pixel> texture;     // 256x256, framebuffer order
    std::vector<Pixel> flarePixels; // 256x256, framebuffer order
    int startTime = 0;
};

// The one tunnel; the second zoom draws a tunnel frame underneath its own cross-fade.
extern TunnelEffect tunnel;
