#pragma once
// The first zoom (sync value 10): pictures fly towards the viewer as a dark mask over a still
// picture; the mask fades in over the first 128 hundredths of a second, the flight ends after 512
// depth units, and a sync event of value 240 cross-fades to a second picture over three seconds.
// The flight is not reset by start(): the zoom plays once per run.
#include <vector>

#include "effects/effect.h"
#include "effects/support/screen_picture.h"
#include "effects/support/sync_watch.h"
#include "render2d/sprite_zoomer.h"

class FirstZoom : public Effect {
public:
    static constexpr int kPageSyncValue = 240;

    // "corpse.pcx" (still), "corpse2.jpg" (final picture) and the zooming pictures "zoom01t.jpg",
    // "zoom2t.jpg", "zoom3x.jpg", which are brought to 512x512 when they come in another size.
    void load();
    void start();
    void render() override;

    // One frame into a 320x200 buffer, moving the flight on.
    void drawFrame(Pixel* screen);

    SpriteZoomer zoomer;
    float depthA = 512.0f;
    float depthB = 768.0f;
    std::vector<Pixel> buffer; // 320x200: the zooming pictures, read as the mask
    int phase = 0;
    SyncWatch pages{kPageSyncValue};
    int lastTime = 0;
    ScreenPicture background;   // "corpse.pcx"
    ScreenPicture finalPicture; // "corpse2.jpg"
    float travelled = 0.0f;
    int maskLevel = 0;
    int startTime = 0;
    int phaseStartTime = 0;
};
