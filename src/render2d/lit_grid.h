#pragma once
// The common part of the lit block grids: a 256x256 texture, the 41x26 corner records a compute
// step fills, up to five coloured point lights, and the block renderers that draw the corners
// into a 320x200 screen.
#include <array>
#include <memory>

#include "imagelib/bgl_image.h"
#include "render2d/grid_corner.h"
#include "render2d/pixel.h"

// A coloured point light. Colours are fractions (1.0 = full).
struct GridLight {
    float x;
    float y;
    float z;
    float red;
    float green;
    float blue;
    float exponent;
};

constexpr int kMaxGridLights = 5;

class LitGrid {
public:
    // picture: read as 256x256 32-bit pixels in framebuffer order, 256 per row (borrowed).
    explicit LitGrid(bglimage* picture);
    virtual ~LitGrid();
    LitGrid(const LitGrid&) = delete;
    LitGrid& operator=(const LitGrid&) = delete;

    // Appends a light and returns the new count; with five lights present it adds nothing and
    // returns 0. Effects move a light by writing lights[i]->x and so on.
    int addLight(float x, float y, float z, float red, float green, float blue, float exponent);

    // Block renderers into a 320x200 destination (pitch 320). drawLit writes the lit texture,
    // drawLitAdd adds it with saturation, and drawLitMasked reads a mask from the destination's
    // blue bytes (drawn beforehand) and mixes the lit texture with the 320x200 background by it.
    void drawLit(Pixel* dst) const;
    void drawLitAdd(Pixel* dst) const;
    void drawLitMasked(Pixel* dst, const Pixel* background) const;

    bglimage* picture;
    GridCorners corners{};
    int lightCount = 0;
    std::array<std::unique_ptr<GridLight>, kMaxGridLights> lights;

protected:
    // The picture's pixels, or a black texture when the picture is missing or too small to be
    // read as 256x256 32-bit pixels (reading it would run past its buffer).
    const Pixel* texels() const;
};
