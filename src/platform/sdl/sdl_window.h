#pragma once
// The show's window on a real display, through SDL.
#include <memory>
#include <string>

#include "platform/window.h"

// Starts SDL's video (and events) on first use; false with SDL's reason when no display exists.
bool initVideo(std::string& error);

// Creates the window titled "halcyonvectrum": full screen on the desktop's mode, or windowed with a
// 320x200 client area, resizable. The picture keeps a 4:3 display aspect (pillarboxed or letterboxed).
// Escape and closing the window arrive as KeyDown(kKeyEscape) and Close messages.
// Throws Error("could not create window") on failure.
std::unique_ptr<Window> createSdlWindow(bool windowed);
