// The two 3D scenes: the metaball surface's field and polygonisation, the transform, sort and
// draw passes of each scene, the fillers alone, and one whole frame of each effect. Run from
// the bin folder: the scenes and pictures are read from data/.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/screen.h"
#include "effects/gold_scene.h"
#include "effects/metaball_scene.h"
#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "engine3d/draw_list.h"
#include "engine3d/keyframes.h"
#include "engine3d/metaball.h"
#include "engine3d/poly_fillers.h"
#include "engine3d/transform.h"
#include "imagelib/bgl_image.h"
#include "platform/format.h"
#include "platform/surface.h"
#include "resources/image_cache.h"

namespace {

// The show's surface, picture cache and logo, and both effects loaded once for all benchmarks.
struct Show {
    Show() {
        bgl_verbose_off();
        backSurface = new Surface(kScreenWidth, kScreenHeight, Format(32, 0xff0000, 0xff00, 0xff, 0));
        imageCache = new ImageCache();
        resetShowTime();
        syncCount = 0;
        syncValue = 0;
        logo.load();
        gold.load();
        metaballs.load();
    }
    GoldScene gold;
    MetaballScene metaballs;
};

Show& show() {
    static Show instance;
    return instance;
}

// Effect time advancing by a 60th of a second per frame (in hundredths).
constexpr float kFrameStep = 100.0f / 60.0f;

void BM_MetaballFieldAndPolygonise(benchmark::State& state) {
    MetaballScene& m = show().metaballs;
    float t = 0.0f;
    for (auto _ : state) {
        m.updateField(t);
        metaball_polygonise(m.world.objects, 5.0f);
        t += kFrameStep;
    }
    state.counters["polys"] = m.world.objects->poly_count;
}
BENCHMARK(BM_MetaballFieldAndPolygonise);

void BM_MetaballTransformSortDraw(benchmark::State& state) {
    MetaballScene& m = show().metaballs;
    m.updateScene(1000.0f);
    std::vector<uint32_t> screen(size_t(kScreenWidth) * kScreenHeight);
    const auto* env = reinterpret_cast<const uint32_t*>(m.envMap->image);
    for (auto _ : state) {
        world_transform(&m.world);
        world_sort(&m.world);
        world_draw(screen.data(), &m.world, env);
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_MetaballTransformSortDraw);

void BM_GoldTransformSortDraw(benchmark::State& state) {
    GoldScene& g = show().gold;
    std::vector<uint32_t> screen(size_t(kScreenWidth) * kScreenHeight);
    const auto* gold = reinterpret_cast<const uint32_t*>(g.goldMap->image);
    int frame = 0;
    for (auto _ : state) {
        world_animate(&g.world, frame);
        world_transform(&g.world);
        world_sort(&g.world);
        world_draw_envmapped(&g.world, screen.data(), gold);
        world_draw_wire(&g.world, screen.data(), 8, 16, 2);
        benchmark::DoNotOptimize(screen.data());
        frame = (frame + 1) % 1800;
    }
}
BENCHMARK(BM_GoldTransformSortDraw);

// One large environment-mapped triangle: the span loop's speed.
void BM_FillEnvmappedLargeTriangle(benchmark::State& state) {
    GoldScene& g = show().gold;
    std::vector<uint32_t> screen(size_t(kScreenWidth) * kScreenHeight);
    Point a{}, b{}, c{};
    a.sx = 10, a.sy = 5, b.sx = 10, b.sy = 195, c.sx = 310, c.sy = 5;
    PointNormal na{0, 0, 0, -0.5f, 0.3f, -0.8f}, nb{0, 0, 0, 0.2f, -0.6f, -0.7f},
        nc{0, 0, 0, 0.7f, 0.1f, -0.7f};
    a.normal = &na, b.normal = &nb, c.normal = &nc;
    Poly p{};
    p.a = &a, p.b = &b, p.c = &c;
    const auto* gold = reinterpret_cast<const uint32_t*>(g.goldMap->image);
    for (auto _ : state) {
        fill_envmapped(&g.world, &p, screen.data(), gold);
        benchmark::DoNotOptimize(screen.data());
    }
    state.SetItemsProcessed(state.iterations() * 300 * 190 / 2);
}
BENCHMARK(BM_FillEnvmappedLargeTriangle);

void BM_GoldSceneFrame(benchmark::State& state) {
    GoldScene& g = show().gold;
    showTime = 0.0f;
    g.start();
    g.phase = int(state.range(0));
    for (auto _ : state) {
        g.render();
        showTime += kFrameStep;
    }
}
BENCHMARK(BM_GoldSceneFrame)->Arg(0)->Arg(1)->ArgName("phase");

void BM_MetaballSceneFrame(benchmark::State& state) {
    MetaballScene& m = show().metaballs;
    showTime = 0.0f;
    m.start();
    for (auto _ : state) {
        m.render();
        showTime += kFrameStep;
    }
}
BENCHMARK(BM_MetaballSceneFrame);

} // namespace
