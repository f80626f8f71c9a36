#pragma once
// FilterWindow: a rectangle of a pixel buffer passed through the relief (emboss) kernel and
// framed with a one-pixel outline. It owns a scratch block of the window's size for its
// lifetime, so one is built per frame and dropped at the end of it.
//
// The window may overhang the buffer's edges (the opening's sweep slides one across the whole
// screen): pixels outside the buffer read as the nearest edge pixel, so nothing outside the
// buffer's memory is ever read.
#include <vector>

#include "render2d/bitmap.h"

class FilterWindow {
public:
    // The window covers width x height pixels of buffer, its top-left pixel at (x, y).
    FilterWindow(const Bitmap& buffer, int x, int y, int width, int height);

    // Filters the window and draws the result opaquely at (x, y) of the destination. The window
    // is read whole before anything is written, so filtering onto itself is safe. embossTo
    // filters four pixels at a time where SSE2 is available; embossToPlain, one channel of one
    // pixel at a time, gives the same pixels.
    void embossTo(Pixel* dst, int dstWidth, int dstHeight, int x, int y);
    void embossToPlain(Pixel* dst, int dstWidth, int dstHeight, int x, int y);
    // A one-pixel outline of the window's size at (x, y) in the colour (red, green, blue), fourth
    // byte 0xFF; only its on-screen pixels are written.
    void drawFrame(Pixel* dst, int dstWidth, int dstHeight, int x, int y, int red, int green, int blue) const;

    Bitmap buffer;
    int windowX = 0;
    int windowY = 0;
    int width = 0;
    int height = 0;
    std::vector<Pixel> scratch; // width x height, pitch width
};
