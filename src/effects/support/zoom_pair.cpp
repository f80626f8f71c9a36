#include "effects/support/zoom_pair.h"

#include <cstdlib>

#include "effects/support/screen_picture.h"
#include "effects/support/show_math.h"
#include "render2d/filter_window.h"
#include "render2d/sprite_zoomer.h"

namespace {

constexpr float kDepthToZoomer = 200.0f;
constexpr int kFullLevel = 255;

constexpr int kReliefX = 20;
constexpr int kReliefY = 120;
constexpr int kReliefWidth = 80;
constexpr int kReliefHeight = 60;
constexpr int kReliefFrameBlue = 128;

void drawAtDepth(const SpriteZoomer& zoomer, Pixel* dst, const Pixel* picture, float depth) {
    const int level = kFullLevel - std::abs(truncToInt(kZoomBrightDepth - depth));
    zoomer.drawZoomed(dst, picture, 0, 0, truncToInt(depth - kDepthToZoomer), level);
}

} // namespace

void drawZoomPair(const SpriteZoomer& zoomer, Pixel* dst, float depthA, float depthB) {
    drawAtDepth(zoomer, dst, zoomer.pixelsA, depthA);
    drawAtDepth(zoomer, dst, zoomer.pixelsB, depthB);
}

void drawReliefCorner(Pixel* screen) {
    FilterWindow window(Bitmap(screen, kScreenWidth, kScreenHeight), kReliefX, kReliefY, kReliefWidth,
                        kReliefHeight);
    window.embossTo(screen, kScreenWidth, kScreenHeight, kReliefX, kReliefY);
    window.drawFrame(screen, kScreenWidth, kScreenHeight, kReliefX, kReliefY, 0, 0, kReliefFrameBlue);
}
