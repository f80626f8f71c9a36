#pragma once
// The rippling surface (sync value 36): a lit height field rippling in rings, a spray-paint
// picture over it in inverted shading, and three places at the right where three-letter labels
// come and go, one change per sync event of value 240.
#include <array>
#include <memory>
#include <vector>

#include "effects/effect.h"
#include "effects/support/screen_picture.h"
#include "effects/support/sync_watch.h"
#include "effects/support/text_picture.h"
#include "render2d/height_grid.h"

struct bglimage;

class RipplingSurfaceEffect : public Effect {
public:
    static constexpr int kLabelEntries = 30;
    static constexpr int kShownLabels = 21; // entries 0 to 20 take turns; 18 to 20 are blank
    static constexpr int kBlankLabel = 29;
    static constexpr int kPlaces = 3;
    static constexpr int kLabelSyncValue = 240;

    // "galakse.jpg" (256x256 tileable texture) and "sprayb3.pcx" from the image cache, then build().
    void load();
    // The height grid over a 256x256 32-bit texture with its three lights, the spray's screen
    // copy and the label pictures; all places blank.
    void build(bglimage* texture, bglimage* spray);
    // Restarts the clock and the label counters; the labels showing stay.
    void start();
    void render() override;

    // Sets the mesh and the lights for effect age c (hundredths of a second) and computes the
    // grid's corners.
    void moveSurface(float c);
    // Counts a newly arrived sync event: a value of 240 shows or blanks the next label.
    void followSync();
    // Draws the surface, the spray, the labels in their places and the logo into a 320x200 buffer.
    void drawFrame(Pixel* screen) const;

    bglimage* texture = nullptr; // borrowed from the image cache
    std::unique_ptr<HeightGrid> surface;
    bglimage* spray = nullptr; // borrowed
    // The spray combines with the surface pixel by pixel, so it is read as a whole screen.
    ScreenPicture sprayScreen;
    std::array<TextPicture, kLabelEntries> labels;
    std::array<int, kPlaces> slots{kBlankLabel, kBlankLabel, kBlankLabel};
    int startTime = 0;
    int events = -1; // sync-240 events since start, minus one
    SyncWatch labelChanges{kLabelSyncValue};
    int nextShown = 0;
    int nextBlanked = 1;
};
