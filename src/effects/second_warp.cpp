#include "effects/second_warp.h"

#include "effects/second_zoom.h"
#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "effects/support/picture_prep.h"
#include "effects/support/screen_picture.h"
#include "effects/support/show_math.h"
#include "effects/support/warp_edges.h"
#include "effects/support/zoom_pair.h"
#include "platform/surface.h"
#include "render2d/warp_mix.h"

namespace {

constexpr float kRowsPerPattern = 64.0f;

} // namespace

void SecondWarp::load() {
    warpA = std::make_unique<RingWarp>(fetchScreenPicture("orion2.jpg"));
    warpB = std::make_unique<RingWarp>(fetchScreenPicture("orion5.jpg"));
    buffer.assign(kScreenPixels, 0);
}

void SecondWarp::start() {
    startTime = truncToInt(showTime);
    phase = 0;
    pages.reset();
}

void SecondWarp::render() {
    // The second zoom, drawn underneath from now on, must neither jump in time nor count
    // these events as its own.
    if (pages.follow(phase) && phase == 1) secondZoom.runUnderneath(syncCount.load(), truncToInt(showTime));

    const WarpOffsets offsets = warpOffsetsAt(showTime);
    warpA->setOffsets(offsets);
    warpB->setOffsets(offsets);
    int edges[kScreenHeight];
    secondWarpEdges(showTime - static_cast<float>(startTime), edges);
    warpOverWarp(buffer.data(), edges, *warpA, *warpB);

    const Bitmap frame(buffer.data(), kScreenWidth, kScreenHeight);
    if (phase == 0) {
        auto* screen = static_cast<Pixel*>(backSurface->lock());
        frame.draw(screen, kScreenWidth, kScreenHeight, 0, 0);
        backSurface->unlock();
    } else if (phase == 1) {
        secondZoom.render();
        auto* screen = static_cast<Pixel*>(backSurface->lock());
        const float alpha = 1.0f - static_cast<float>(musicRow) / kRowsPerPattern;
        frame.drawBlend(screen, kScreenWidth, kScreenHeight, 0, 0, alpha);
        backSurface->unlock();
    }

    auto* screen = static_cast<Pixel*>(backSurface->lock());
    logo.drawAdd(screen, kTopLogoX, kTopLogoY);
    drawReliefCorner(screen);
    backSurface->unlock();
}
