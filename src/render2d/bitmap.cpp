#include "render2d/bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/fixed_point.h"
#include "imagelib/bgl_image.h"
#include "render2d/pixel_ops.h"
#include "render2d/row_kernels.h"
#include "render2d/row_walker.h"

namespace {

constexpr int kStretchMargin = 4; // trailing source columns and rows the stretched copy never samples

bool usableDestination(const Pixel* dst, int dstWidth, int dstHeight) {
    return dst != nullptr && dstWidth > 0 && dstHeight > 0;
}

} // namespace

Bitmap::Bitmap(Pixel* pixels_, int width_, int height_, int pitch_)
    : pixels(pixels_), width(width_), height(height_), pitch(pitch_) {}

Bitmap::Bitmap(Pixel* pixels_, int width_, int height_) : Bitmap(pixels_, width_, height_, width_) {}

Bitmap::Bitmap(const bglimage* picture) {
    if (picture == nullptr || picture->bits_per_pixel != kScreenDepth || picture->image == nullptr) return;
    pixels = reinterpret_cast<Pixel*>(picture->image);
    width = picture->width;
    height = picture->height;
    pitch = width;
}

bool clipRows(const Bitmap& bitmap, Pixel* dst, int dstWidth, int dstHeight, int x, int y, ClippedRows& out) {
    if (bitmap.empty() || !usableDestination(dst, dstWidth, dstHeight)) return false;
    if (x >= dstWidth || y >= dstHeight) return false;
    int skipX = 0;
    if (x < 0) {
        if (x < -bitmap.width) return false; // written so that -x cannot overflow
        skipX = -x;
        x = 0;
    }
    int skipY = 0;
    if (y < 0) {
        if (y < -bitmap.height) return false;
        skipY = -y;
        y = 0;
    }
    int rows = bitmap.height - skipY;
    if (rows >= dstHeight - y) rows = dstHeight - y;
    if (rows < 1) return false;
    int cols = bitmap.width - skipX;
    if (cols >= dstWidth - x) cols = dstWidth - x;
    if (cols < 1) return false;

    out.source = bitmap.pixels + skipX + static_cast<std::ptrdiff_t>(skipY) * bitmap.pitch;
    out.destination = dst + x + static_cast<std::ptrdiff_t>(y) * dstWidth;
    out.rows = rows;
    out.cols = cols;
    out.sourcePitch = bitmap.pitch;
    out.destinationPitch = dstWidth;
    return true;
}

void Bitmap::draw(Pixel* dst, int dstWidth, int dstHeight, int x, int y) const {
    forEachClippedRow(*this, dst, dstWidth, dstHeight, x, y, [](const Pixel* s, Pixel* d, int count) {
        std::memmove(d, s, static_cast<std::size_t>(count) * sizeof(Pixel));
    });
}

void Bitmap::drawTransparent(Pixel* dst, int dstWidth, int dstHeight, int x, int y) const {
    forEachClippedRow(*this, dst, dstWidth, dstHeight, x, y,
                      [](const Pixel* s, Pixel* d, int count) { transparentRow(s, d, count); });
}

void Bitmap::drawAdd(Pixel* dst, int dstWidth, int dstHeight, int x, int y) const {
    forEachClippedRow(*this, dst, dstWidth, dstHeight, x, y,
                      [](const Pixel* s, Pixel* d, int count) { addRow(s, d, count); });
}

void Bitmap::drawSubtract(Pixel* dst, int dstWidth, int dstHeight, int x, int y) const {
    forEachClippedRow(*this, dst, dstWidth, dstHeight, x, y,
                      [](const Pixel* s, Pixel* d, int count) { subtractRow(s, d, count); });
}

void Bitmap::drawAddScaled(Pixel* dst, int dstWidth, int dstHeight, int x, int y, float level) const {
    const int k = levelWeight(level);
    if (k == kNoWeight) return;
    if (k == kFullWeight) {
        drawAdd(dst, dstWidth, dstHeight, x, y);
        return;
    }
    forEachClippedRow(*this, dst, dstWidth, dstHeight, x, y,
                      [k](const Pixel* s, Pixel* d, int count) { addScaledRow(s, d, count, k); });
}

void Bitmap::drawBlend(Pixel* dst, int dstWidth, int dstHeight, int x, int y, float alpha) const {
    const int k = levelWeight(alpha);
    if (k == kNoWeight) return;
    if (k == kFullWeight) {
        draw(dst, dstWidth, dstHeight, x, y);
        return;
    }
    forEachClippedRow(*this, dst, dstWidth, dstHeight, x, y,
                      [k](const Pixel* s, Pixel* d, int count) { blendRow(s, d, count, k); });
}

void Bitmap::drawFaded(Pixel* dst, int dstWidth, int dstHeight, int x, int y, float level) const {
    const int k = levelWeight(level);
    if (k == kNoWeight) return;
    if (k == kFullWeight) {
        draw(dst, dstWidth, dstHeight, x, y);
        return;
    }
    forEachClippedRow(*this, dst, dstWidth, dstHeight, x, y,
                      [k](const Pixel* s, Pixel* d, int count) { fadedRow(s, d, count, k); });
}

void Bitmap::drawStretched(Pixel* dst, int dstWidth, int dstHeight, float x0, float y0, float x1,
                           float y1) const {
    if (empty() || !usableDestination(dst, dstWidth, dstHeight)) return;
    if (width <= kStretchMargin || height <= kStretchMargin) return;
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return;
    if (y1 - y0 < 1.0f || x1 - x0 < 1.0f) return;
    if (y0 >= static_cast<float>(dstHeight) || y1 < 0.0f || x0 >= static_cast<float>(dstWidth) || x1 < 0.0f)
        return;

    // Source pixels per destination pixel, in 16.16. Positions are 64-bit so that no rectangle,
    // however small, can overflow them while stepping.
    using Fixed = std::int64_t;
    const Fixed stepX =
        static_cast<Fixed>(static_cast<float>(width - kStretchMargin) * kFixedOne / (x1 - x0));
    const Fixed stepY =
        static_cast<Fixed>(static_cast<float>(height - kStretchMargin) * kFixedOne / (y1 - y0));

    // A rectangle starting above or left of the destination starts sampling part-way in; the
    // products stay near (side - margin) << 16 because the rectangle reaches past 0.
    float top = y0;
    Fixed v = 0;
    if (y0 < 0.0f) {
        top = 0.0f;
        v = static_cast<Fixed>(-y0 * static_cast<float>(stepY));
    }
    float left = x0;
    Fixed u0 = 0;
    if (x0 < 0.0f) {
        left = 0.0f;
        u0 = static_cast<Fixed>(-x0 * static_cast<float>(stepX));
    }
    const float bottom = std::min(y1, static_cast<float>(dstHeight));
    const float right = std::min(x1, static_cast<float>(dstWidth));
    if (!(top < bottom && left < right)) return;

    const int firstRow = static_cast<int>(top);
    const int endRow = static_cast<int>(std::ceil(bottom));
    const int firstCol = static_cast<int>(left);
    const int endCol = static_cast<int>(std::ceil(right));
    // Fractional rectangles can step a little further than the source's last sampled row or
    // column; clamping keeps every read inside the bitmap.
    const Fixed lastRow = height - 1;
    const Fixed lastCol = width - 1;
    // Every row samples the same columns: find them once.
    std::vector<int> columns(static_cast<std::size_t>(endCol - firstCol));
    Fixed u = u0;
    for (int& column : columns) {
        column = static_cast<int>(std::min(u >> kFracBits, lastCol));
        u += stepX;
    }
    for (int i = firstRow; i < endRow; ++i, v += stepY) {
        const Pixel* sourceRow = pixels + std::min(v >> kFracBits, lastRow) * pitch;
        Pixel* out = dst + static_cast<std::ptrdiff_t>(i) * dstWidth + firstCol;
        for (std::size_t j = 0; j < columns.size(); ++j) out[j] = sourceRow[columns[j]];
    }
}

void Bitmap::scaleInPlace(float factor) const {
    if (empty() || !(factor >= 0.0f)) return;
    const float clampedFactor = std::min(factor, 256.0f);
#if defined(__SSE2__)
    // Each channel as a float times the factor, truncated, held at 255 by the saturating packs:
    // the same single-precision product and truncation as the table below.
    constexpr int kLanes = 4;
    const __m128i zero = _mm_setzero_si128();
    const __m128 scale = _mm_set1_ps(clampedFactor);
    const auto scaled = [&](__m128i channels16) {
        const __m128i low =
            _mm_cvttps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(channels16, zero)), scale));
        const __m128i high =
            _mm_cvttps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(_mm_unpackhi_epi16(channels16, zero)), scale));
        return _mm_packs_epi32(low, high);
    };
    const __m128i colour = _mm_set1_epi32(static_cast<int>(kColourMask));
#endif
    // One factor for the whole bitmap: look each channel value up instead of multiplying per pixel.
    unsigned char table[kChannelMax + 1];
    for (int c = 0; c <= kChannelMax; ++c) {
        const float value = static_cast<float>(c) * clampedFactor;
        table[c] = static_cast<unsigned char>(
            value >= static_cast<float>(kChannelMax) ? kChannelMax : static_cast<int>(value));
    }
    for (int row = 0; row < height; ++row) {
        Pixel* p = pixels + static_cast<std::ptrdiff_t>(row) * pitch;
        int i = 0;
#if defined(__SSE2__)
        for (; i + kLanes <= width; i += kLanes) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i bytes =
                _mm_packus_epi16(scaled(_mm_unpacklo_epi8(v, zero)), scaled(_mm_unpackhi_epi8(v, zero)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), _mm_and_si128(bytes, colour));
        }
#endif
        for (; i < width; ++i)
            p[i] = makePixel(table[redOf(p[i])], table[greenOf(p[i])], table[blueOf(p[i])]);
    }
}
