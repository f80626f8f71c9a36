#include "render2d/filter_window.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The kernel at one pixel of three padded rows: rows[r][c] is the block's pixel (r, c).
Pixel embossPixel(const Pixel* const rows[kKernelSide], int at) {
    int blue = 0, green = 0, red = 0;
    for (int r = 0; r < kKernelSide; ++r) {
        for (int c = 0; c < kKernelSide; ++c) {
            const Pixel p = rows[r][at + c];
            const int k = kKernel[r][c];
            blue += k * blueOf(p);
            green += k * greenOf(p);
            red += k * redOf(p);
        }
    }
    return makePixel(clampChannel(red), clampChannel(green), clampChannel(blue));
}

#if defined(__SSE2__)
// The kernel at four neighbouring pixels, channels in 16-bit lanes (sums stay within
// -1020..1275); the saturating pack holds them to 0..255.
__m128i embossFour(const Pixel* const rows[kKernelSide], int at) {
    const __m128i zero = _mm_setzero_si128();
    __m128i low = zero, high = zero;
    for (int r = 0; r < kKernelSide; ++r) {
        for (int c = 0; c < kKernelSide; ++c) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[r] + at + c));
            const __m128i pl = _mm_unpacklo_epi8(p, zero);
            const __m128i ph = _mm_unpackhi_epi8(p, zero);
            if (kKernel[r][c] > 0) {
                low = _mm_add_epi16(low, pl);
                high = _mm_add_epi16(high, ph);
            } else {
                low = _mm_sub_epi16(low, pl);
                high = _mm_sub_epi16(high, ph);
            }
        }
    }
    return _mm_and_si128(_mm_packus_epi16(low, high), _mm_set1_epi32(static_cast<int>(kColourMask)));
}
#endif

} // namespace

FilterWindow::FilterWindow(const Bitmap& buffer_, int x, int y, int width_, int height_)
    : buffer(buffer_), windowX(x), windowY(y), width(std::max(width_, 0)), height(std::max(height_, 0)),
      scratch(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

void FilterWindow::embossToPlain(Pixel* dst, int dstWidth, int dstHeight, int x, int y) {
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

void FilterWindow::embossTo(Pixel* dst, int dstWidth, int dstHeight, int x, int y) {
    if (buffer.empty() || scratch.empty()) return;
    // Each source row the kernel reads, its columns held inside the buffer, once: padded[i] is
    // column windowX - 2 + i. Row wy of the window reads rows wy .. wy + 2 of the ring.
    const int padded = width + kKernelReach;
    std::vector<Pixel> ring(static_cast<std::size_t>(padded) * kKernelSide);
    const auto fillRow = [&](int wy, Pixel* out) {
        const std::int64_t sy =
            std::clamp<std::int64_t>(std::int64_t{windowY} + wy - kKernelReach, 0, buffer.height - 1);
        const Pixel* row = buffer.pixels + static_cast<std::ptrdiff_t>(sy) * buffer.pitch;
        // Columns inside the buffer are copied as a block; those beside it repeat its edge.
        const std::int64_t first = std::int64_t{windowX} - kKernelReach;
        const int insideFrom = static_cast<int>(std::clamp<std::int64_t>(-first, 0, padded));
        const int insideTo =
            static_cast<int>(std::clamp<std::int64_t>(buffer.width - first, insideFrom, padded));
        for (int i = 0; i < insideFrom; ++i) out[i] = row[0];
        std::copy(row + (first + insideFrom), row + (first + insideTo), out + insideFrom);
        for (int i = insideTo; i < padded; ++i) out[i] = row[buffer.width - 1];
    };
    for (int r = 0; r < kKernelReach; ++r) fillRow(r, ring.data() + static_cast<std::ptrdiff_t>(r) * padded);
    for (int wy = 0; wy < height; ++wy) {
        fillRow(wy + kKernelReach,
                ring.data() + static_cast<std::ptrdiff_t>((wy + kKernelReach) % kKernelSide) * padded);
        const Pixel* rows[kKernelSide];
        for (int r = 0; r < kKernelSide; ++r)
            rows[r] = ring.data() + static_cast<std::ptrdiff_t>((wy + r) % kKernelSide) * padded;
        Pixel* out = scratch.data() + static_cast<std::ptrdiff_t>(wy) * width;
        int wx = 0;
#if defined(__SSE2__)
        constexpr int kLanes = 4;
        for (; wx + kLanes <= width; wx += kLanes)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + wx), embossFour(rows, wx));
#endif
        for (; wx < width; ++wx) out[wx] = embossPixel(rows, wx);
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
