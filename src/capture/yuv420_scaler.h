#pragma once
// Frames of 0x00RRGGBB pixels enlarged nearest-pixel (the source pixel under each output pixel's
// centre, as FrameScaler does) straight into planar 4:2:0 YUV in BT.709 studio range: the form the
// mp4's H.264 encoder takes, made here so that ffmpeg has only to encode, and the pipe carries 12
// bits a pixel instead of 32. Each chroma sample is the mean of the 2x2 output pixels it covers.
#include <cstddef>
#include <cstdint>
#include <vector>

class Yuv420Scaler {
public:
    // The output's width and height must be even.
    Yuv420Scaler(int sourceWidth, int sourceHeight, int outputWidth, int outputHeight);

    // Bytes of one converted frame: the Y plane, then Cb and Cr at half width and height.
    std::size_t frameBytes() const;
    // Converts one frame (pitch in bytes) into `out`, frameBytes() long.
    void convert(const std::uint32_t* pixels, int pitch, unsigned char* out);

private:
    // One source row's chroma terms, each chroma column's two source pixels summed (in the
    // fixed point of the conversion, before the offset).
    struct ChromaRow {
        int row = -1;
        std::vector<std::int32_t> blue, red;
    };

    const std::uint32_t* sourceRowAt(const std::uint32_t* pixels, int pitch, int row) const;
    // The terms of a source row, made once while the chroma rows that use it are written (a
    // chroma row uses at most two source rows, in ascending order).
    const ChromaRow& chromaRow(const std::uint32_t* pixels, int pitch, int row);

    int sourceWidth, outputWidth, outputHeight;
    std::vector<int> sourceColumn, sourceRow; // per output column and row
    std::vector<int> columnRun;               // output columns per source column, left to right
    // Scratch for one source row's chroma terms per source column.
    std::vector<std::int32_t> blueTerms, redTerms;
    ChromaRow rows[2];
};
