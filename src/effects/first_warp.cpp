#include "effects/first_warp.h"

#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "effects/support/picture_prep.h"
#include "effects/support/warp_edges.h"
#include "effects/support/zoom_pair.h"
#include "platform/surface.h"
#include "render2d/warp_mix.h"

void FirstWarp::load() {
    warp = std::make_unique<RingWarp>(fetchScreenPicture("orion2.jpg"));
    stillPicture.assign(fetchScreenPicture("corpse2.jpg"));
}

void FirstWarp::start() {
    resetShowTime();
}

void FirstWarp::render() {
    auto* screen = static_cast<Pixel*>(backSurface->lock());
    drawFrame(screen);
    backSurface->unlock();
}

void FirstWarp::drawFrame(Pixel* screen) const {
    const float t = showTime;
    warp->setOffsets(warpOffsetsAt(t));
    int edges[kScreenHeight];
    firstWarpEdges(t, edges);
    // Still picture left of the edge, the rippling one right of it.
    warpOverStill(screen, edges, *warp, stillPicture.pixels());
    logo.drawAdd(screen, kTopLogoX, kTopLogoY);
}
