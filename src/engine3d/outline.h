// Additive lines: the glowing edges of polys.
#pragma once

#include "engine3d/world.h"

#include <cstdint>

// Bresenham from (x0, y0) towards (x1, y1), the end point itself not drawn (so the edges of a
// closed outline plot each corner once, and a line of length 0 plots nothing). Adds the blue,
// green and red amounts to every plotted pixel inside the 320x200 frame, each byte held to
// 0..255; the fourth byte is kept.
void draw_line_add(int x0, int y0, int x1, int y1, int blue, int green, int red, uint32_t* pixels);

// The clipping stage, then a line from every corner to the next and from the last to the first.
void draw_poly_outline(World* world, Poly* poly, uint32_t* pixels, int blue, int green, int red);
