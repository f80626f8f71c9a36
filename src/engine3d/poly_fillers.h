// The four polygon fillers: one poly each, clipped to the screen, into a 320x200 frame of
// 32-bit pixels. No perspective correction and no depth buffer; attributes are interpolated
// linearly across the screen with one gradient per poly. Textures are 256x256 32-bit pixels
// in the framebuffer's byte order; a poly whose material has no usable texture takes the
// fallback (the environment map the effect passes).
#pragma once

#include "engine3d/world.h"

#include <cstdint>

// Copies texels addressed by the texture coordinates u, v (1.0 = texel 255).
void fill_textured(World* world, Poly* poly, uint32_t* pixels, const uint32_t* fallback);

// Copies texels addressed by the camera-space normal: eu = vx * 128 + 128, ev = vy * 128 + 128,
// which this filler writes into the corners first.
void fill_envmapped(World* world, Poly* poly, uint32_t* pixels, const uint32_t* fallback);

// The textured filler with each channel scaled by the corners' light r, g, b (0 to 255).
void fill_textured_lit(World* world, Poly* poly, uint32_t* pixels, const uint32_t* fallback);

// The texel at u, v plus the environment texel at eu, ev, each channel saturating at 255.
void fill_textured_env(World* world, Poly* poly, uint32_t* pixels, const uint32_t* fallback,
                       const uint32_t* environment);

// The material's own texture when it has a 256x256 32-bit one, else the fallback.
const uint32_t* poly_texture(const Poly* poly, const uint32_t* fallback);
