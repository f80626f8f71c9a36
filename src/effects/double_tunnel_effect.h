#pragma once
// The double tunnel (sync value 58): two lit, textured cylinders flown through at once, one
// inside the other, the outer one added over the inner. The inner tunnel rolls and the camera
// moves through it 1.5 times as fast as through the outer one.
#include <memory>

#include "effects/effect.h"
#include "render2d/pixel.h"
#include "render2d/tunnel_grid.h"

struct bglimage;

class DoubleTunnelEffect : public Effect {
public:
    // "galakse.jpg" and "schap4.jpg" from the image cache, prepared as 256x256 tileable
    // textures (the outer one softened), then build().
    void load();
    // The two grids over 256x256 32-bit textures, each with three lights.
    void build(bglimage* innerTexture, bglimage* outerTexture);
    void start();
    void render() override;

    // Moves both tunnels to effect age t (hundredths of a second) and draws them into a 320x200
    // buffer, with the logo.
    void drawFrame(Pixel* screen, float t);

    bglimage* innerTexture = nullptr; // borrowed from the image cache
    bglimage* outerTexture = nullptr;
    std::unique_ptr<TunnelGrid> innerGrid;
    std::unique_ptr<TunnelGrid> outerGrid;
    int startTime = 0;
};
