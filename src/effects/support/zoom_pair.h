#pragma once
// What the two zoom effects share: drawing the pair of zooming pictures on screen, and the relief
// window in the lower left corner that the later effects show.
#include "render2d/pixel.h"

class SpriteZoomer;

// Pictures are brightest at this depth and fade out to either side, over a quarter cycle.
constexpr float kZoomBrightDepth = 512.0f;
constexpr float kZoomNearDepth = 256.0f; // a picture that comes nearer has passed the viewer

// The zoomer's pixelsA at depthA and pixelsB at depthB, added onto a 320x200 buffer, each centred
// on the screen at depth trunc(z - 200) with level 255 - |trunc(512 - z)|.
void drawZoomPair(const SpriteZoomer& zoomer, Pixel* dst, float depthA, float depthB);

// The 80x60 window at (20, 120) of a 320x200 buffer, passed through the relief kernel and framed
// in dark blue.
void drawReliefCorner(Pixel* screen);

// Where the zoom, warp and tunnel effects add the maker's logo.
constexpr int kTopLogoX = 230;
constexpr int kTopLogoY = 10;
