#include "render2d/filter_window.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// The relief kernel. Its 3x3 block ends at the output pixel (rows y-2..y, columns x-2..x)
// instead of being centred on it; the weights add up to 1, so flat areas keep their colour.
constexpr int kKernelSide = 3;
constexpr int kKernelReach = kKernelSide - 1;
constexpr int kKernel[kKernelSide][kKernelSide] = {{-1, -1, -1}, {-1, 1, 1}, {1, 1, 1}};

constexpr Pixel kFrameFourthByte = 0xFF000000u;

int clampChannel(int sum) {
    return sum < 0 ? 0 : (sum > kChannelMax ? kChannelMax : sum);
}

} // namespace

FilterWindow::FilterWindow(const Bitmap& buffer_, int x, int y, int width_, int height_)
    : buffer(buffer_), windowX(x), windowY(y), width(std::max(width_, 0)), height(std::max(height_, 0)),
      scratch(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

void FilterWindow::embossTo(Pixel* dst, int dstWidth, int dstHeight, int x, int y) {
    if (buffer.empty() || scratch.empty()) return;
    const auto clampX = [this](std::int64_t cx) {
        return static_cast<int>(std::clamp<std::int64_t>(cx, 0, buffer.width - 1));
    };
    const auto clampY = [this](std::int64_t cy) {
        return static_cast<int>(std::clamp<std::int64_t>(cy, 0, buffer.height - 1));
    };
    for (int wy = 0; wy < height; ++wy) {
        const Pixel* rows[kKernelSide];
        for (int r = 0; r < kKernelSide; ++r)
            rows[r] = buffer.pixels +
                      static_cast<std::ptrdiff_t>(clampY(std::int64_t{windowY} + wy - kKernelReach + r)) *
                          buffer.pitch;
        Pixel* out = scratch.data() + static_cast<std::ptrdiff_t>(wy) * width;
        for (int wx = 0; wx < width; ++wx) {
            int cols[kKernelSide];
            for (int c = 0; c < kKernelSide; ++c)
                cols[c] = clampX(std::int64_t{windowX} + wx - kKernelReach + c);
            int blue = 0, green = 0, red = 0;
            for (int r = 0; r < kKernelSide; ++r) {
                for (int c = 0; c < kKernelSide; ++c) {
                    const Pixel p = rows[r][cols[c]];
                    const int k = kKernel[r][c];
                    blue += k * blueOf(p);
                    green += k * greenOf(p);
                    red += k * redOf(p);
                }
            }
            out[wx] = makePixel(clampChannel(red), clampChannel(green), clampChannel(blue));
        }
    }
    Bitmap(scratch.data(), width, height, width).draw(dst, dstWidth, dstHeight, x, y);
}

void FilterWindow::drawFrame(Pixel* dst, int dstWidth, int dstHeight, int x, int y, int red, int green,
                             int blue) const {
    if (dst == nullptr || width == 0 || height == 0) return;
    const Pixel colour = kFrameFourthByte | makePixel(red, green, blue);
    const auto plot = [&](std::int64_t px, std::int64_t py) {
        if (px >= 0 && px < dstWidth && py >= 0 && py < dstHeight) dst[py * dstWidth + px] = colour;
    };
    const std::int64_t right = std::int64_t{x} + width - 1;
    const std::int64_t bottom = std::int64_t{y} + height - 1;
    for (int i = 0; i < width; ++i) {
        plot(std::int64_t{x} + i, y);
        plot(std::int64_t{x} + i, bottom);
    }
    for (int i = 0; i < height; ++i) {
        plot(x, std::int64_t{y} + i);
        plot(right, std::int64_t{y} + i);
    }
}
