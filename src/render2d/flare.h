#pragma once
// The tunnel's glowing flares: a 256x256 picture added with perspective scaling onto a 320x200
// screen, each flare circling and falling through the tunnel.
#include "render2d/pixel.h"

constexpr int kFlareSide = 256;
// A flare sunk below the tunnel's middle is drawn only above this row.
constexpr int kFlareLowClipRow = 136;

// Adds the flare picture (kFlareSide x kFlareSide pixels), centred on (x, y) at the given depth
// (scale 256 / depth about the screen's centre), onto a kScreenWidth x kScreenHeight
// buffer. Rows from clipRow down are not drawn, nor is the screen's last column. A depth of 0 or
// less draws nothing.
void drawFlareSprite(Pixel* dst, const Pixel* pixels, int x, int y, int depth, int clipRow);

struct Flare {
    float radius = 0.0f;
    float angle = 0.0f; // radians
    float sink = 0.0f;
    const Pixel* pixels = nullptr; // kFlareSide x kFlareSide
    float fall = -10.1f;           // subtracted from sink every frame
    float spin = 0.1f;             // angle grows by twice this every frame

    Flare() = default;
    Flare(float radius_, float angle_, float sink_, const Pixel* pixels_)
        : radius(radius_), angle(angle_), sink(sink_), pixels(pixels_) {}

    // Draws the flare into a kScreenWidth x kScreenHeight buffer and moves it on by one
    // frame.
    void step(Pixel* dst);
};
