#pragma once
// The show's window on a real display, through SDL.
#include <memory>
#include <string>

#include "platform/sharp_scale.h"
#include "platform/window.h"

// Starts SDL's video (and events) on first use; false with SDL's reason when no display exists.
bool initVideo(std::string& error);

// Creates the window titled "halcyonvectrum", resizable: full screen on the desktop's mode, or a
// window whose client area is the largest whole multiple of 320x240 that the desktop holds. The
// picture keeps its 4:3 shape with black bars, scaled as the scaler says. Alt+Enter and F11
// switch between full screen and the window at any moment; the mouse cursor hides in full screen,
// and in the window after two seconds without motion. Escape and closing the window arrive as
// KeyDown(kKeyEscape) and Close messages.
// Throws Error("could not create window") on failure; without a display the message adds a hint
// at the capture program.
std::unique_ptr<Window> createSdlWindow(bool windowed, Scaler scaler = Scaler::Sharp);
