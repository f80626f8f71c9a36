#pragma once
// The tunnel's background: every screen pixel looks its texel up through the table, the whole
// lookup shifted by one offset per frame (modulo the texture's 65,536 texels).
#include <cstdint>

#include "render2d/pixel.h"

// Per frame the lookup moves one texture row on (+256) and one column back (-1).
constexpr unsigned kTunnelRowStep = 256;
constexpr unsigned kTunnelTurnStep = 1;

// Fills kScreenPixels pixels of dst from texture (kTextureTexels pixels) through table
// (kScreenPixels entries): blue, green and red of texel (entry + offset) mod 65,536; the
// destination's fourth byte is kept. Eight lookups at a time where SSE2 is available; the plain
// form, one pixel after another, gives the same pixels.
void drawTunnelBackground(Pixel* dst, const std::uint16_t* table, const Pixel* texture, unsigned offset);
void drawTunnelBackgroundPlain(Pixel* dst, const std::uint16_t* table, const Pixel* texture, unsigned offset);
