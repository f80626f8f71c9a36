#pragma once
// The show's closing still (sync value 74): one picture until the end marker arrives.
#include "effects/effect.h"
#include "render2d/bitmap.h"

struct bglimage;

class ClosingPicture : public Effect {
public:
    void load();
    void start();
    void render() override;

    bglimage* picture = nullptr; // "corpse2.jpg", borrowed from the image cache
    Bitmap bitmap;
    int startTime = 0;
};
