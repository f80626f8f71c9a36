#pragma once

// The show was made for a 4:3 screen filled by 320x200 pixels, so its pixels are taller than wide.
inline constexpr int kDisplayAspectWidth = 4;
inline constexpr int kDisplayAspectHeight = 3;

struct ViewRect {
    int x, y, width, height;
};

// The largest 4:3 rectangle centred in an output of the given size (bars left and right, or
// above and below).
inline ViewRect fitDisplayAspect(int outputWidth, int outputHeight) {
    ViewRect rect{0, 0, outputWidth, outputHeight};
    if (outputWidth * kDisplayAspectHeight > outputHeight * kDisplayAspectWidth) {
        rect.width = outputHeight * kDisplayAspectWidth / kDisplayAspectHeight;
        rect.x = (outputWidth - rect.width) / 2;
    } else {
        rect.height = outputWidth * kDisplayAspectHeight / kDisplayAspectWidth;
        rect.y = (outputHeight - rect.height) / 2;
    }
    return rect;
}
