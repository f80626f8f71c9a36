#include "effects/first_zoom.h"

#include <algorithm>

#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "effects/support/picture_prep.h"
#include "effects/support/show_math.h"
#include "effects/support/zoom_pair.h"
#include "imagelib/bgl.h"
#include "platform/surface.h"
#include "render2d/zoom_mask.h"

namespace {

constexpr const char* kZoomPictures[] = {"zoom01t.jpg", "zoom2t.jpg", "zoom3x.jpg"};
constexpr float kFarDepth = 768.0f; // where a picture that has passed the viewer comes back
constexpr int kIndexAdvance = 2;    // two pictures are on screen, so each slot skips the other's
constexpr float kFlightLength = 512.0f;
constexpr float kMaskRate = 2.0f;                        // mask level per hundredth of a second
constexpr float kDepthTravel = 2.0f;                     // depth units ...
constexpr float kDepthTravelTime = 3.0f;                 // ... per this many hundredths of a second
constexpr float kCrossFadeRate = 0.0033333333333333335f; // the cross-fade takes 300 hundredths

void advance(float& depth, int& index, float step) {
    depth -= step;
    if (depth < kZoomNearDepth) {
        depth = kFarDepth;
        index += kIndexAdvance;
    }
}

} // namespace

void FirstZoom::load() {
    background.assign(fetchScreenPicture("corpse.pcx"));
    finalPicture.assign(fetchScreenPicture("corpse2.jpg"));
    buffer.assign(kScreenPixels, 0);
    for (const char* name : kZoomPictures) {
        bglimage* picture = fetchPicture(name);
        convertTo32Bits(picture);
        toScreenOrder(picture);
        // The zoomer reads exactly 512x512 pixels: a picture of another size is scaled to it.
        if (picture->width != kZoomPictureSide || picture->height != kZoomPictureSide)
            scalePicture(picture, kZoomPictureSide, kZoomPictureSide);
        zoomer.addPicture(picture);
    }
    depthA = 512.0f;
    depthB = 768.0f;
    travelled = 0.0f;
    maskLevel = 0;
}

void FirstZoom::start() {
    startTime = lastTime = truncToInt(showTime);
    phase = 0;
    pages.reset();
}

void FirstZoom::render() {
    auto* screen = static_cast<Pixel*>(backSurface->lock());
    drawFrame(screen);
    backSurface->unlock();
}

void FirstZoom::drawFrame(Pixel* screen) {
    if (pages.arrived()) {
        ++phase;
        phaseStartTime = truncToInt(showTime);
    }

    background.bitmap.draw(screen, kScreenWidth, kScreenHeight, 0, 0);

    const float dt = showTime - static_cast<float>(lastTime);
    lastTime = truncToInt(showTime);
    maskLevel = truncToInt(dt * kMaskRate + static_cast<float>(maskLevel));

    // Once the flight is over the buffer keeps its last pictures, and the mask stays frozen.
    if (travelled < kFlightLength) {
        zoomer.select();
        std::fill(buffer.begin(), buffer.end(), 0u);
        drawZoomPair(zoomer, buffer.data(), depthA, depthB);
    }
    darkenByMask(screen, buffer.data(), maskLevel);

    const float step = dt * kDepthTravel / kDepthTravelTime;
    advance(depthA, zoomer.indexA, step);
    advance(depthB, zoomer.indexB, step);
    travelled += step;

    if (phase == 1)
        finalPicture.bitmap.drawBlend(screen, kScreenWidth, kScreenHeight, 0, 0,
                                      (showTime - static_cast<float>(phaseStartTime)) * kCrossFadeRate);
    logo.drawAdd(screen, kTopLogoX, kTopLogoY);
}
