#pragma once
// How the 320x200 picture reaches its 4:3 place on the screen. Sharp: first enlarged by the largest
// whole factor that fits, nearest-pixel, so every source pixel becomes the same block; then the
// rest of the way smoothly (linear), which only softens the blocks' edges. Nearest and smooth go
// straight to the target, nearest-pixel (rows and columns of unequal size) or linear (blurred).
#include "platform/view_fit.h"

enum class Scaler { Sharp, Nearest, Smooth };

struct ScalePlan {
    ViewRect target; // where the picture goes: the largest centred 4:3 rectangle of the output
    int factor = 0;  // sharp: the first stage's whole enlargement, at least 1; otherwise 0
    int stageWidth = 0, stageHeight = 0; // sharp: the first stage's size, factor times the source
};

// maxStageSide (0: none) caps the first stage at the renderer's largest texture.
ScalePlan planScale(Scaler scaler, int outputWidth, int outputHeight, int sourceWidth, int sourceHeight,
                    int maxStageSide = 0);
