#include "effects/second_zoom.h"

#include <algorithm>

#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "effects/support/picture_prep.h"
#include "effects/support/screen_picture.h"
#include "effects/support/show_math.h"
#include "effects/support/zoom_pair.h"
#include "effects/tunnel_effect.h"
#include "imagelib/bgl.h"
#include "platform/color.h"
#include "platform/surface.h"

SecondZoom secondZoom;

namespace {

constexpr const char* kZoomPictures[] = {"hubsu2.jpg", "galak2k.jpg", "pleisu2.jpg", "spirsu2.jpg"};
constexpr float kFarDepth = 767.0f;
constexpr int kIndexAdvance = 2;
constexpr float kRowsPerPattern = 64.0f;

void wrapDepth(float& depth, int& index) {
    if (depth < kZoomNearDepth) {
        depth = kFarDepth;
        index += kIndexAdvance;
    }
}

} // namespace

void SecondZoom::load() {
    for (const char* name : kZoomPictures) {
        bglimage* picture = fetchPicture(name);
        convertTo32Bits(picture);
        toScreenOrder(picture);
        scalePicture(picture, kZoomPictureSide, kZoomPictureSide);
        zoomer.addPicture(picture);
    }
    buffer.assign(kScreenPixels, 0);
    depthA = 512.0f;
    depthB = 767.0f;
}

void SecondZoom::start() {
    phase = 0;
    pages.reset();
}

void SecondZoom::render() {
    // The tunnel drawn underneath must not take these events as its own.
    if (pages.follow(phase) && phase == 1) tunnel.runUnderneath(syncCount.load());

    // The wrap comes before the drawing and the advance after it, so a depth may stand below the
    // near depth for the rest of a frame.
    wrapDepth(depthA, zoomer.indexA);
    wrapDepth(depthB, zoomer.indexB);
    zoomer.select();

    if (phase == 0) {
        backSurface->clear(Color(0, 0, 0, 1));
        auto* screen = static_cast<Pixel*>(backSurface->lock());
        drawZoomPair(zoomer, screen, depthA, depthB);
        backSurface->unlock();
    } else if (phase == 1) {
        std::fill(buffer.begin(), buffer.end(), 0u);
        drawZoomPair(zoomer, buffer.data(), depthA, depthB);
        tunnel.render();
        auto* screen = static_cast<Pixel*>(backSurface->lock());
        // The pictures fade out over the tunnel as the pattern plays.
        const float alpha = 1.0f - static_cast<float>(musicRow) / kRowsPerPattern;
        Bitmap(buffer.data(), kScreenWidth, kScreenHeight)
            .drawBlend(screen, kScreenWidth, kScreenHeight, 0, 0, alpha);
        backSurface->unlock();
    }

    auto* screen = static_cast<Pixel*>(backSurface->lock());
    drawReliefCorner(screen);
    logo.drawAdd(screen, kTopLogoX, kTopLogoY);
    backSurface->unlock();

    const float dt = showTime - static_cast<float>(lastTime);
    lastTime = truncToInt(showTime);
    depthA -= dt; // one depth unit per hundredth of a second
    depthB -= dt;
}
