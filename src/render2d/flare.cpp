#include "render2d/flare.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/portable_math.h"
#include "render2d/row_kernels.h"

namespace {

constexpr int kSpriteFracBits = 8; // sprite texels step in 8.8
constexpr int kSpriteStepNumerator = 1 << (2 * kSpriteFracBits);
constexpr int kHalfFlare = kFlareSide / 2;
constexpr float kViewScale = 256.0f; // a flare at depth 256 is drawn at its own size
constexpr int kCentreX = kScreenWidth / 2;
constexpr int kCentreY = kScreenHeight / 2;
constexpr int kLastTexel = kFlareSide - 1;
// Projected edges beyond this lie far off any screen; they are dropped before converting to int.
constexpr float kMaxEdge = 1 << 24;

constexpr float kDepthOffset = 600.0f;
constexpr float kRiseFactor = 0.3f;
constexpr float kShrinkStart = 0.0f;
constexpr float kSinkHidden = 50.0f; // sunk past this, the flare sits at the centre, clipped low
constexpr float kShrinkBase = 100.0f;
constexpr float kShrinkScale = 0.01f;
constexpr float kSinkWrap = 100.0f;
constexpr float kSinkRestart = -300.0f;

// trunc(trunc(offset * 256 / depth) + centre), or false when far off screen.
bool projectEdge(int position, int offset, int depth, int centre, int& edge) {
    const float scaled = static_cast<float>(static_cast<std::int64_t>(position) + offset) * kViewScale /
                         static_cast<float>(depth);
    if (!(std::fabs(scaled) < kMaxEdge)) return false;
    edge = static_cast<int>(scaled) + centre;
    return true;
}

} // namespace

void drawFlareSprite(Pixel* dst, const Pixel* pixels, int x, int y, int depth, int clipRow) {
    if (dst == nullptr || pixels == nullptr || depth <= 0) return;
    int left, right, top, bottom;
    if (!projectEdge(x, -kHalfFlare, depth, kCentreX, left) ||
        !projectEdge(x, kHalfFlare - 1, depth, kCentreX, right) ||
        !projectEdge(y, -kHalfFlare, depth, kCentreY, top) ||
        !projectEdge(y, kHalfFlare - 1, depth, kCentreY, bottom))
        return;
    if (bottom - top <= 0) return;
    const int step = kSpriteStepNumerator / (bottom - top); // 8.8, both directions

    clipRow = std::min(clipRow, kScreenHeight);
    int v = 0;
    if (top < 0) {
        if (bottom < 0) return;
        v = -top * step;
        top = 0;
    }
    if (top >= clipRow) return;
    bottom = std::min(bottom, clipRow);
    if (bottom <= top) return;

    int u0 = 0;
    if (left < 0) {
        if (right < 0) return;
        u0 = -left * step;
        left = 0;
    }
    if (left >= kScreenWidth) return;
    if (right >= kScreenWidth) right = kScreenWidth - 1;
    if (right <= left) return;

    // The edges and the step are truncated separately, so the last row or column can step up to
    // a few texels past the picture: hold the texel inside it.
    // Each row's texels are picked first, then added as a whole row (saturating, per channel).
    Pixel texels[kScreenWidth];
    const int cols = right - left;
    for (int row = top; row < bottom; ++row, v += step) {
        const Pixel* texelRow = pixels + std::min(v >> kSpriteFracBits, kLastTexel) * kFlareSide;
        int u = u0;
        for (int j = 0; j < cols; ++j, u += step)
            texels[j] = texelRow[std::min(u >> kSpriteFracBits, kLastTexel)];
        addRow(texels, dst + row * kScreenWidth + left, cols);
    }
}

void Flare::step(Pixel* dst) {
    float r = radius;
    int clipRow = kScreenHeight;
    if (sink > kShrinkStart && sink < kSinkHidden) {
        r = radius * ((kShrinkBase - sink) * kShrinkScale);
    } else if (sink > kSinkHidden) {
        r = 0.0f;
        clipRow = kFlareLowClipRow;
    }
    const float s = r * pmath::sin(angle);
    const float depth = s + kDepthOffset;
    const float y = sink - s * kRiseFactor;
    const float x = r * pmath::cos(angle);
    // Radius and sink stay within a few hundred pixels, so these conversions cannot overflow
    // unless a caller gives absurd values; skip drawing then.
    if (std::fabs(depth) < kMaxEdge && std::fabs(y) < kMaxEdge && std::fabs(x) < kMaxEdge)
        drawFlareSprite(dst, pixels, static_cast<int>(x), static_cast<int>(y), static_cast<int>(depth),
                        clipRow);

    angle += 2.0f * spin;
    sink -= fall;
    if (sink > kSinkWrap) sink = kSinkRestart;
}
