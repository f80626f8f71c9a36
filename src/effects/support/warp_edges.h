#pragma once
// The wavy edges of the two warps: one edge column per screen row, from a time value in hundredths
// of a second. Both wobble by up to 30 pixels down the screen.
#include "core/screen.h"

// The first warp's edge starts at the right and reaches the left border after about 6.3 seconds:
// e(r) = 319 - trunc(t * 5/9 + 20 sin(0.025 t + 0.05 r) + 10 sin(0.1 r)).
void firstWarpEdges(float t, int (&edges)[kScreenHeight]);
// The second warp's edge starts at the left and moves right one pixel per 6 hundredths:
// e(r) = trunc(u / 6 + 20 sin(0.025 u + 0.05 r) + 10 sin(0.1 r)), u = time since its start.
void secondWarpEdges(float u, int (&edges)[kScreenHeight]);
