// The painting steps every picture of the show is built from: star fields, glows, gas clouds,
// spiral galaxies, bump-lit relief, and the final roll-off into bytes.
#pragma once

#include "forge/pictures/canvas.h"
#include "forge/pictures/noise.h"
#include "forge/pictures/random.h"

#include <functional>

namespace forge {

constexpr float kPi = 3.14159265358979f;

// Stars scattered over the canvas; most faint, a few bright with a soft halo and four thin spikes.
struct StarStyle {
    int count = 400;
    float brightness = 1.0f; // of the brightest star
    float spikes = 0.0f;     // spike strength of the brightest stars, 0 = none
    float margin = 0.0f;     // keep stars this many pixels from the edges
};
void addStars(Canvas& canvas, Random& random, const StarStyle& style);

// One star at (x, y): core, halo and optional spikes.
void addStar(Canvas& canvas, float x, float y, float brightness, Colour colour, float spikes);

// A round glow: a bright core with a long, smooth falloff that reaches zero at `reach` radii.
void addGlow(Canvas& canvas, float cx, float cy, float radius, Colour colour, float reach = 4.0f);

// A cloud of gas from domain-warped noise. Colours come from `palette` by the warp field; the
// density is shaped by `mask` (0..1 per pixel, all 1 when empty).
struct NebulaStyle {
    float scale = 3.0f; // noise cells across the canvas width
    float strength = 2.0f;
    float threshold = -0.2f; // density starts above this noise value
    float intensity = 1.0f;
    int octaves = 4;
    int period = 0; // cells across the canvas for a tileable cloud; 0 = no repetition
    float offsetX = 0, offsetY = 0;
    float gamma = 1.5f; // higher: thinner, wispier gas
};
using Palette = std::function<Colour(float t, float u)>; // two mixing coordinates 0..1
using Mask = std::function<float(float x, float y)>;     // normalised coordinates 0..1
void addNebula(Canvas& canvas, const Noise& noise, const NebulaStyle& style, const Palette& palette,
               const Mask& mask = {});

// A spiral galaxy: bulge, logarithmic arms with knots and dust, seen tilted.
struct GalaxyStyle {
    float cx = 0, cy = 0;
    float radius = 100; // of the disc, pixels
    float tilt = 0;     // radians from face-on
    float rotation = 0; // of the major axis on screen, radians
    int arms = 2;
    float twist = 2.5f; // how tightly the arms wind
    float brightness = 1.0f;
    Colour core = hex(0xFFE9B0);
    Colour arm = hex(0x7FA6FF);
    Colour knots = hex(0xFF7FD0);
};
void addGalaxy(Canvas& canvas, const Noise& noise, const GalaxyStyle& style);

// Multiplies everything by a smooth fall to black: 1 inside `inner`, 0 from `outer`, both as
// fractions of the canvas's half width and half height (so the fall is elliptical).
void fadeToBlackRound(Canvas& canvas, float inner, float outer);

// Normal of a height field by central differences, for bump lighting; heights in pixels.
struct Normal {
    float x, y, z;
};
Normal heightNormal(const std::vector<float>& heights, int width, int height, int x, int y, float depth,
                    bool wrap);

// Gaussian-like blur by three box passes, optionally wrapping at the edges.
void blur(Canvas& canvas, int radius, bool wrap);

// Turns the canvas into 8-bit red, green, blue: values roll off smoothly above `knee` so highlights
// do not clip flat; exact 0 stays 0.
std::vector<uint8_t> toRgbBytes(const Canvas& canvas, float exposure = 1.0f, float knee = 0.7f);

} // namespace forge
