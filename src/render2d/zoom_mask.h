#pragma once
// The first zoom's darkening mask: the zooming pictures, drawn into an off-screen buffer, darken
// the still picture beneath them where they are bright.
//
// For every frame pixel whose blue byte is not 0: m = the mask pixel's green byte, scaled by
// level / 256 while level is 254 or less (a negative level counts as 0) and taken whole above;
// blue, green and red become (byte * (255 - m)) >> 8, the fourth byte stays. Pixels with blue
// byte 0 are left as they are.
#include "render2d/pixel.h"

// Plain form, one pixel after another as stated above.
void darkenByMaskPlain(Pixel* frame, const Pixel* mask, int level, int count = kScreenPixels);
// The form the effect runs: no branch per pixel, four pixels at a time where SSE2 is available.
void darkenByMask(Pixel* frame, const Pixel* mask, int level, int count = kScreenPixels);
