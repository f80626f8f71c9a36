#pragma once
// Nearest-pixel enlargement of whole frames of 0x00RRGGBB pixels, for the capture outputs: every
// output pixel is a copy of one source pixel, so the show's hard pixel edges stay hard.
#include <cstdint>
#include <vector>

// The shape of a written frame: the pixels as they are (square), or stretched to the 4:3 screen
// the show was made for.
enum class FrameAspect { Square, FourThree };

struct FrameSize {
    int width = 0;
    int height = 0;
};

// The source column (or row) under the centre of output column (or row) `i` when `source` pixels
// are enlarged to `output`: (2i + 1) * source / (2 * output), in integers.
int nearestSourcePixel(int i, int source, int output);

// A 320x200 frame enlarged `scale` times: 320N x 200N square, or 320N x 240N at 4:3.
FrameSize scaledFrameSize(int width, int height, int scale, FrameAspect aspect);

class FrameScaler {
public:
    FrameScaler(int sourceWidth, int sourceHeight, int outputWidth, int outputHeight);

    int width() const { return outputWidth; }
    int height() const { return outputHeight; }
    // True when the output is the source itself (nothing to do).
    bool identity() const { return outputWidth == sourceWidth && outputHeight == sourceHeight; }

    // Scales one frame (pitch in bytes) into `out`, resized to width() x height(), pitch width().
    void scale(const std::uint32_t* pixels, int pitch, std::vector<std::uint32_t>& out) const;

private:
    int sourceWidth, sourceHeight, outputWidth, outputHeight;
    // For each output column and row, the source column and row it copies.
    std::vector<int> sourceColumn;
    std::vector<int> sourceRow;
};
