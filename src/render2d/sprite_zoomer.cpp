#include "render2d/sprite_zoomer.h"

#include <algorithm>
#include <cstdint>

#include "core/fixed_point.h"
#include "render2d/row_kernels.h"

namespace {

constexpr int kHalfPicture = kZoomPictureSide / 2;
constexpr int kLastTexel = kZoomPictureSide - 1;
// 512 texels over the picture's height, in 8.8.
constexpr float kStepNumerator = static_cast<float>(kZoomPictureSide << kShortFracBits);
// The largest step that still matters: one step across the whole picture. Far-away (sub-pixel)
// pictures would otherwise ask for steps beyond an int.
constexpr float kMaxStep = kStepNumerator;
constexpr float kViewScale = 256.0f; // a picture at depth 256 is drawn one texel per pixel
constexpr float kCentreX = kScreenWidth / 2;
constexpr float kCentreY = kScreenHeight / 2;
constexpr int kMaxLevel = 255;

int wrapIndex(int index, int count) {
    const int r = index % count;
    return r < 0 ? r + count : r;
}

} // namespace

SpriteZoomer::SpriteZoomer() {
    for (int y = 0; y < kScreenHeight; ++y) rowOffsets[y] = y * kScreenWidth;
}

bool SpriteZoomer::addPicture(const bglimage* picture) {
    if (count >= kZoomMaxPictures || picture == nullptr || picture->image == nullptr) return false;
    if (picture->bits_per_pixel != kScreenDepth || picture->width != kZoomPictureSide ||
        picture->height != kZoomPictureSide)
        return false;
    pictures[count++] = picture;
    return true;
}

void SpriteZoomer::select() {
    if (count <= 0) {
        pixelsA = pixelsB = nullptr;
        return;
    }
    pixelsA = reinterpret_cast<const Pixel*>(pictures[wrapIndex(indexA, count)]->image);
    pixelsB = reinterpret_cast<const Pixel*>(pictures[wrapIndex(indexB, count)]->image);
}

void SpriteZoomer::drawZoomed(Pixel* dst, const Pixel* pixels, int x, int y, int depth, int level) const {
    if (dst == nullptr || pixels == nullptr || depth < 1) return;
    level = std::clamp(level, 0, kMaxLevel);

    const float z = static_cast<float>(depth);
    float left = (static_cast<float>(x) - kHalfPicture) * kViewScale / z + kCentreX;
    float right = (static_cast<float>(x) + (kHalfPicture - 1)) * kViewScale / z + kCentreX;
    float top = (static_cast<float>(y) - kHalfPicture) * kViewScale / z + kCentreY;
    float bottom = (static_cast<float>(y) + (kHalfPicture - 1)) * kViewScale / z + kCentreY;
    if (!(bottom - top > 0.0f)) return;
    const int step = static_cast<int>(std::min(kStepNumerator / (bottom - top), kMaxStep));

    // The far edge is tested before the near one is converted: with it on screen, the skipped part
    // is shorter than the picture, so the start texel stays within one picture of steps.
    if (bottom < 0.0f || top >= kScreenHeight) return;
    int v = 0;
    if (top < 0.0f) {
        v = static_cast<int>(-top * static_cast<float>(step));
        top = 0.0f;
    }
    bottom = std::min(bottom, static_cast<float>(kScreenHeight));
    if (bottom <= top) return;

    if (right < 0.0f || left >= kScreenWidth) return;
    int u0 = 0;
    if (left < 0.0f) {
        u0 = static_cast<int>(-left * static_cast<float>(step));
        left = 0.0f;
    }
    if (right >= kScreenWidth) right = kScreenWidth - 1; // the last column is never drawn
    if (right <= left) return;

    // Edges and step are rounded separately, so the last row or column may step just past the
    // picture once it is far away (a few hundred depth units on): such texels are held at the
    // picture's last one.
    const int firstCol = static_cast<int>(left);
    int cols = 0;
    for (int j = firstCol; static_cast<float>(j) < right; ++j) ++cols;
    const std::int64_t edgeU = static_cast<std::int64_t>(kZoomPictureSide) << kShortFracBits;
    const std::int64_t inside = u0 >= edgeU ? 0 : (edgeU - u0 + step - 1) / step;
    const int insideCols = static_cast<int>(std::min<std::int64_t>(cols, inside));

    // Each row's texels are picked first, then added as a whole row:
    // d = min(d + ((level * s) >> 8), 255) per channel, fourth byte kept.
    Pixel texels[kScreenWidth];
    for (int i = static_cast<int>(top); static_cast<float>(i) < bottom; ++i, v += step) {
        const Pixel* texelRow = pixels + std::min(v >> kShortFracBits, kLastTexel) * kZoomPictureSide;
        int u = u0;
        for (int j = 0; j < insideCols; ++j, u += step) texels[j] = texelRow[u >> kShortFracBits];
        for (int j = insideCols; j < cols; ++j) texels[j] = texelRow[kLastTexel];
        addScaledRow(texels, dst + rowOffsets[i] + firstCol, cols, level);
    }
}
