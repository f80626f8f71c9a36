#pragma once
// The window's first size: the show's 4:3 picture, 320x240 times a whole number, as large as the
// desktop holds with the window's decorations.
#include "core/screen.h"
#include "platform/view_fit.h"

// One step of the window's client area: 320x240, the 320x200 picture at 4:3.
inline constexpr int kWindowStepWidth = kScreenWidth;
inline constexpr int kWindowStepHeight = kScreenWidth * kDisplayAspectHeight / kDisplayAspectWidth;

struct WindowSize {
    int scale;         // the whole multiple k, at least 1
    int width, height; // the client area: k times 320x240
};

// The largest k whose client area plus the decorations (frameWidth across, frameHeight down:
// borders and title bar) fits the usable desktop (the screen less panels and docks). A desktop
// too small for even one step still gets k = 1.
WindowSize windowSizeFor(int usableWidth, int usableHeight, int frameWidth, int frameHeight);
