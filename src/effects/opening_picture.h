#pragma once
// The show's opening still (sync value 2): a picture fading in under the logo, then, on sync
// value 3, an embossed band with a thin frame sweeping across it from left to right.
#include "effects/effect.h"
#include "effects/support/sync_watch.h"
#include "render2d/bitmap.h"

struct bglimage;

class OpeningPicture : public Effect {
public:
    enum Mode { kFadingIn = 0, kSweeping = 1 };
    static constexpr int kSweepSyncValue = 3;

    void load();
    void start();
    void render() override;

    // The band's left column t hundredths of a second into the sweep.
    static int bandColumn(float t);

    bglimage* picture = nullptr; // "320girl2.jpg", borrowed from the image cache
    Bitmap bitmap;
    int startTime = 0;
    SyncWatch sweep{kSweepSyncValue}; // the band sweeps once per start
    int mode = kFadingIn;
};
