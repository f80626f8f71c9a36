#pragma once
// The first warp (sync value 16): restarts the show clock, then a wavy edge sweeps from right to
// left and uncovers a rippling "orion2.jpg" where the still "corpse2.jpg" stood.
#include <memory>

#include "effects/effect.h"
#include "effects/support/screen_picture.h"
#include "render2d/ring_warp.h"

class FirstWarp : public Effect {
public:
    void load();
    // Sets the show clock back to 0; the whole effect runs from that zero.
    void start();
    void render() override;

    void drawFrame(Pixel* screen) const;

    std::unique_ptr<RingWarp> warp; // over "orion2.jpg"
    ScreenPicture stillPicture;     // "corpse2.jpg"
};
