#pragma once
// What the program asks of the page that runs it. The page hands each run an object of its own
// (Module.hvPage, made by web/page.js); these calls are the whole of the program's side of it.
#include <cstdint>
#include <string>

#include "platform/sharp_scale.h"

// Gives the page back to the browser until its next animation frame (the program's state is kept
// meanwhile: the build suspends and resumes it).
void pageWaitForAnimationFrame();

// Makes the canvas's pixels match its place on the screen (its CSS box times the device's pixel
// ratio) and returns their size.
void pageFitCanvas(int& width, int& height);

// Draws a width x height picture of bytes R, G, B, A into the canvas as the plan says: through a
// whole-factor nearest-pixel stage and then smoothly when it has a factor, otherwise straight,
// smoothly or nearest-pixel.
void pageDraw(const std::uint32_t* rgba, int width, int height, const ScalePlan& plan, bool smooth);

// The next key pressed in the page (its key code, 27 for Escape); 0 when none waits.
int pageNextKey();

// The error box: the page shows the message (its title above its text).
void pageShowError(const std::string& title, const std::string& text);

// News for the page and whoever watches it: a shown frame (its number, the checksum of its pixels
// and the effect on screen, empty for none), and a line of the capture mode's frame log.
void pageFrameShown(long frame, std::uint64_t checksum, const std::string& effect);
void pageLogLine(const std::string& line);

// Milliseconds since the page was opened, as the browser's performance clock counts them.
double pageMilliseconds();
