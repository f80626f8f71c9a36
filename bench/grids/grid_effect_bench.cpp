// One whole frame (render()) of each effect built on the lit grids: the credits on each page,
// the double tunnel and the rippling surface.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/screen.h"
#include "effects/credits_effect.h"
#include "effects/double_tunnel_effect.h"
#include "effects/rippling_surface_effect.h"
#include "effects/show_state.h"
#include "effects/support/picture_prep.h"
#include "imagelib/bgl_image.h"
#include "platform/format.h"
#include "platform/surface.h"
#include "resources/bitmap_font.h"

namespace {

OwnedPicture picture(int width, int height) {
    OwnedPicture result(bgl_create_image(static_cast<uint16_t>(width), static_cast<uint16_t>(height), 32, 0));
    auto* pixels = reinterpret_cast<Pixel*>(result->image);
    for (int i = 0; i < width * height; ++i) pixels[i] = makePixel(i & 255, (i >> 8) & 255, (i * 7) & 255);
    return result;
}

// The show's surface, font and clock for the length of one benchmark.
struct Show {
    BitmapFont textFont{"data/rel2.aff"};
    Show() {
        backSurface = new Surface(kScreenWidth, kScreenHeight, Format());
        font = &textFont;
        resetShowTime();
        syncCount = 0;
        syncValue = 0;
    }
    ~Show() {
        delete backSurface;
        backSurface = nullptr;
        font = nullptr;
    }
};

// Renders frames 1/100 s apart, as a show running at 100 frames per second would.
template <class AnyEffect> void renderFrames(benchmark::State& state, AnyEffect& effect) {
    for (auto _ : state) {
        advanceShowTime(1.0);
        effect.render();
        benchmark::DoNotOptimize(backSurface->pixels());
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_CreditsFrame(benchmark::State& state) {
    Show show;
    OwnedPicture texture = picture(256, 256), portrait = picture(320, 200), slide = picture(140, 200);
    auto effect = std::make_unique<CreditsEffect>();
    effect->build(texture.get(), portrait.get(), slide.get());
    effect->start();
    musicRow = 40;
    for (int page = 0; page < state.range(0); ++page) {
        syncValue = 240;
        syncCount = syncCount + 1;
        effect->render();
    }
    renderFrames(state, *effect);
}
BENCHMARK(BM_CreditsFrame)->ArgName("page")->DenseRange(0, 3);

void BM_DoubleTunnelFrame(benchmark::State& state) {
    Show show;
    OwnedPicture inner = picture(256, 256), outer = picture(256, 256);
    auto effect = std::make_unique<DoubleTunnelEffect>();
    effect->build(inner.get(), outer.get());
    effect->start();
    renderFrames(state, *effect);
}
BENCHMARK(BM_DoubleTunnelFrame);

void BM_RipplingSurfaceFrame(benchmark::State& state) {
    Show show;
    OwnedPicture texture = picture(256, 256), spray = picture(320, 200);
    auto effect = std::make_unique<RipplingSurfaceEffect>();
    effect->build(texture.get(), spray.get());
    effect->start();
    renderFrames(state, *effect);
}
BENCHMARK(BM_RipplingSurfaceFrame);

} // namespace
