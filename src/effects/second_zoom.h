#pragma once
// The second zoom (sync value 22): four pictures fly towards the viewer on black, with the relief
// window and the logo. A sync event of value 240 fades them out over the tunnel as the pattern
// plays; after a second one only the relief window and the logo are drawn, over the last frame.
// The second warp draws this effect under its own fade before sync value 22 arrives, and keeps
// lastTime and lastSyncCount current meanwhile, so start() leaves lastTime alone.
#include <vector>

#include "effects/effect.h"
#include "render2d/sprite_zoomer.h"

class SecondZoom : public Effect {
public:
    // "hubsu2.jpg", "galak2k.jpg", "pleisu2.jpg", "spirsu2.jpg", each scaled to 512x512.
    void load();
    void start();
    void render() override;

    SpriteZoomer zoomer;
    float depthA = 512.0f;
    float depthB = 767.0f;
    std::vector<Pixel> buffer; // 320x200: the pictures before they are faded over the tunnel
    int phase = 0;
    int lastSyncCount = 0;
    int lastTime = 0;
};

// The one second zoom; the second warp draws it under its own fade.
extern SecondZoom secondZoom;
