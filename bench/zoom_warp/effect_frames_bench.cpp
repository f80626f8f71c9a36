// One whole frame of each zoom and warp effect, over the generated show content in the data
// folder beside the program (build/bin/data), as the show draws it, sync-240 phases included.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/screen.h"
#include "effects/first_warp.h"
#include "effects/first_zoom.h"
#include "effects/second_warp.h"
#include "effects/second_zoom.h"
#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "effects/tunnel_effect.h"
#include "imagelib/bgl.h"
#include "platform/format.h"
#include "platform/surface.h"
#include "resources/image_cache.h"

namespace {

FirstZoom firstZoom;
FirstWarp firstWarp;
SecondWarp secondWarp;

// Loads the shared objects and the effects once, from the data folder beside the program.
bool loadShow() {
    static const bool loaded = [] {
        const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
        std::filesystem::current_path(program.parent_path());
        if (!std::filesystem::exists("data/orion2.jpg")) {
            std::fprintf(stderr, "bench_zoom_warp: no generated content in %s/data\n",
                         program.parent_path().c_str());
            return false;
        }
        bgl_verbose_off();
        backSurface = new Surface(kScreenWidth, kScreenHeight, Format(32, 0xff0000, 0xff00, 0xff, 0));
        imageCache = new ImageCache();
        logo.load();
        firstZoom.load();
        secondZoom.load();
        tunnel.load();
        firstWarp.load();
        secondWarp.load();
        return true;
    }();
    return loaded;
}

// Runs frames 3 hundredths of a second apart; phase 1 follows a sync event of value 240.
// beforeFrame runs ahead of each frame, inside the timing (keep it trivial).
template <class Effect, class BeforeFrame>
void runFrames(benchmark::State& state, Effect& effect, int phase, BeforeFrame beforeFrame) {
    if (!loadShow()) {
        state.SkipWithError("no generated content");
        return;
    }
    showTime = 1000.0f;
    syncCount.store(0);
    syncValue = 0;
    musicRow = 20;
    effect.start();
    if (phase > 0) {
        syncCount.store(1);
        syncValue = 240;
    }
    for (auto _ : state) {
        showTime += 3.0f;
        beforeFrame();
        effect.render();
        benchmark::DoNotOptimize(backSurface->pixels());
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_FirstZoomFrame(benchmark::State& state) {
    // The zoom flies only once per run: keep it in flight, drawing its pictures every frame.
    runFrames(state, firstZoom, static_cast<int>(state.range(0)), [] { firstZoom.travelled = 0.0f; });
}
BENCHMARK(BM_FirstZoomFrame)->ArgName("phase")->Arg(0)->Arg(1);

void BM_SecondZoomFrame(benchmark::State& state) {
    runFrames(state, secondZoom, static_cast<int>(state.range(0)), [] {});
}
BENCHMARK(BM_SecondZoomFrame)->ArgName("phase")->Arg(0)->Arg(1);

void BM_FirstWarpFrame(benchmark::State& state) {
    runFrames(state, firstWarp, 0, [] {});
}
BENCHMARK(BM_FirstWarpFrame);

void BM_SecondWarpFrame(benchmark::State& state) {
    runFrames(state, secondWarp, static_cast<int>(state.range(0)), [] {});
}
BENCHMARK(BM_SecondWarpFrame)->ArgName("phase")->Arg(0)->Arg(1);

} // namespace
