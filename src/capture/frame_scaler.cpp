#include "capture/frame_scaler.h"

#include <algorithm>
#include <cstring>

#include "platform/view_fit.h"

int nearestSourcePixel(int i, int source, int output) {
    return static_cast<int>((2LL * i + 1) * source / (2LL * output));
}

FrameSize scaledFrameSize(int width, int height, int scale, FrameAspect aspect) {
    FrameSize size{width * scale, height * scale};
    if (aspect == FrameAspect::FourThree)
        size.height = size.width * kDisplayAspectHeight / kDisplayAspectWidth;
    return size;
}

FrameScaler::FrameScaler(int srcW, int srcH, int outW, int outH)
    : sourceWidth(srcW), sourceHeight(srcH), outputWidth(outW), outputHeight(outH), sourceColumn(outW),
      sourceRow(outH) {
    for (int x = 0; x < outW; ++x) sourceColumn[x] = nearestSourcePixel(x, srcW, outW);
    for (int y = 0; y < outH; ++y) sourceRow[y] = nearestSourcePixel(y, srcH, outH);
}

void FrameScaler::scale(const std::uint32_t* pixels, int pitch, std::vector<std::uint32_t>& out) const {
    out.resize(static_cast<std::size_t>(outputWidth) * outputHeight);
    std::uint32_t* dst = out.data();
    for (int y = 0; y < outputHeight; ++y, dst += outputWidth) {
        // Rows that repeat their source row are copies of the row above.
        if (y > 0 && sourceRow[y] == sourceRow[y - 1]) {
            std::memcpy(dst, dst - outputWidth, sizeof(std::uint32_t) * outputWidth);
            continue;
        }
        const auto* src =
            reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const unsigned char*>(pixels) +
                                                   static_cast<std::ptrdiff_t>(sourceRow[y]) * pitch);
        for (int x = 0; x < outputWidth; ++x) dst[x] = src[sourceColumn[x]];
    }
}
