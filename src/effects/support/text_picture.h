#pragma once
// A line of text rendered once with the show's font and kept as a picture to draw every frame.
#include "effects/support/picture_prep.h"
#include "render2d/bitmap.h"

struct TextPicture {
    OwnedPicture picture;
    Bitmap bitmap; // empty (draws nothing) when the text has no glyphs or could not be made
};

// Renders text with the shared font; without a font the picture stays empty.
TextPicture makeTextPicture(const char* text);
