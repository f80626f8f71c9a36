#pragma once
// The credits (sync value 4): a camera flies down a square, lit, textured corridor while four
// pages pass, each opened by a sync event of value 240: the corridor grows out of the portrait
// through a flower-shaped mask, a picture slides in from the right, then the makers' names fade
// in and out line by line in step with the music's position and row.
#include <array>
#include <memory>
#include <vector>

#include "effects/effect.h"
#include "effects/support/screen_picture.h"
#include "effects/support/sync_watch.h"
#include "effects/support/text_picture.h"
#include "render2d/bitmap.h"
#include "render2d/box_tunnel_grid.h"

struct bglimage;

class CreditsEffect : public Effect {
public:
    static constexpr int kTextCount = 8;
    static constexpr int kPageSyncValue = 240;
    static constexpr int kLastPhase = 3;

    // "pleisu2m.jpg" (the corridor's texture), "320girl2.jpg" (the portrait) and "corpse.pcx"
    // (the sliding picture) from the image cache, then build().
    void load();
    // Builds the corridor over a 256x256 32-bit texture, the flower table, the portrait's screen
    // copy, the sliding picture's bitmap and the eight credit lines.
    void build(bglimage* texture, bglimage* portrait, bglimage* slidePicture);
    void start();
    void render() override;

    // Draws the current page into a 320x200 buffer for effect age d (hundredths of a second).
    void drawFrame(Pixel* screen, float d);
    // Steps the corridor's camera and lights to age d and computes its corners.
    void moveCorridor(float d);

    bglimage* texture = nullptr; // borrowed from the image cache
    std::unique_ptr<BoxTunnelGrid> grid;
    int startTime = 0;
    int phase = 0; // sync-240 events since start: the page shown (pages 0 to 3)
    SyncWatch pages{kPageSyncValue};
    bglimage* portrait = nullptr; // borrowed
    ScreenPicture portraitScreen;
    // Per screen pixel: distance from (100, 120), stretched 1.6 times vertically, with a wavy rim.
    std::vector<int> ringTable;
    // The flower mask of each ring value 0 .. the largest in ringTable, made once per frame.
    std::vector<Pixel> ringMasks;
    bglimage* slidePicture = nullptr; // borrowed
    Bitmap slideBitmap;
    std::array<TextPicture, kTextCount> texts;
};
