#pragma once
// The maker's logo: loaded before the loading screen and added onto the frame by most effects.
#include "effects/effect.h"
#include "render2d/bitmap.h"

struct bglimage;

// Where the effects put the logo on the 320x200 screen.
constexpr int kLogoLowerLeftX = 10;
constexpr int kLogoLowerLeftY = 170;

class Logo : public Effect {
public:
    // "zklogo.pcx" from the image cache, prepared for the screen.
    void load();
    // The logo holder is never started; it has nothing to draw of its own.
    void render() override {}

    // Adds the logo at (x, y) of a 320x200 buffer; nothing before load().
    void drawAdd(Pixel* screen, int x, int y) const;

    bglimage* picture = nullptr; // borrowed from the image cache
    Bitmap bitmap;               // held by value: empty, and so drawing nothing, until loaded
};

extern Logo logo;
