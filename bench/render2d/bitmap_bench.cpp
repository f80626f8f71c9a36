// Every Bitmap copy on a full 320x200 screen, and the relief window at the tunnel's 80x60.
#include <benchmark/benchmark.h>

#include "bench_screens.h"
#include "render2d/bitmap.h"
#include "render2d/filter_window.h"

namespace {

template <class CopyFn> void runCopy(benchmark::State& state, CopyFn copy) {
    std::vector<Pixel> source = randomScreen(1);
    std::vector<Pixel> screen = randomScreen(2);
    const Bitmap bitmap(source.data(), kBenchWidth, kBenchHeight);
    for (auto _ : state) {
        copy(bitmap, screen.data());
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBenchPixels);
}

void BM_Draw(benchmark::State& state) {
    runCopy(state, [](const Bitmap& b, Pixel* d) { b.draw(d, kBenchWidth, kBenchHeight, 0, 0); });
}
void BM_DrawTransparent(benchmark::State& state) {
    runCopy(state, [](const Bitmap& b, Pixel* d) { b.drawTransparent(d, kBenchWidth, kBenchHeight, 0, 0); });
}
void BM_DrawAdd(benchmark::State& state) {
    runCopy(state, [](const Bitmap& b, Pixel* d) { b.drawAdd(d, kBenchWidth, kBenchHeight, 0, 0); });
}
void BM_DrawSubtract(benchmark::State& state) {
    runCopy(state, [](const Bitmap& b, Pixel* d) { b.drawSubtract(d, kBenchWidth, kBenchHeight, 0, 0); });
}
void BM_DrawAddScaled(benchmark::State& state) {
    runCopy(state,
            [](const Bitmap& b, Pixel* d) { b.drawAddScaled(d, kBenchWidth, kBenchHeight, 0, 0, 0.5f); });
}
void BM_DrawBlend(benchmark::State& state) {
    runCopy(state, [](const Bitmap& b, Pixel* d) { b.drawBlend(d, kBenchWidth, kBenchHeight, 0, 0, 0.5f); });
}
void BM_DrawFaded(benchmark::State& state) {
    runCopy(state, [](const Bitmap& b, Pixel* d) { b.drawFaded(d, kBenchWidth, kBenchHeight, 0, 0, 0.5f); });
}
void BM_DrawStretched(benchmark::State& state) {
    runCopy(state, [](const Bitmap& b, Pixel* d) {
        b.drawStretched(d, kBenchWidth, kBenchHeight, 0.0f, 0.0f, static_cast<float>(kBenchWidth),
                        static_cast<float>(kBenchHeight));
    });
}
void BM_ScaleInPlace(benchmark::State& state) {
    // Scaling by 1 keeps the picture the same from one iteration to the next.
    runCopy(state, [](const Bitmap&, Pixel* d) { Bitmap(d, kBenchWidth, kBenchHeight).scaleInPlace(1.0f); });
}

void BM_EmbossTo80x60(benchmark::State& state) {
    std::vector<Pixel> screen = randomScreen(3);
    const Bitmap whole(screen.data(), kBenchWidth, kBenchHeight);
    for (auto _ : state) {
        FilterWindow window(whole, 20, 120, 80, 60);
        window.embossTo(screen.data(), kBenchWidth, kBenchHeight, 20, 120);
        window.drawFrame(screen.data(), kBenchWidth, kBenchHeight, 20, 120, 0, 0, 128);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 80 * 60);
}

} // namespace

BENCHMARK(BM_Draw);
BENCHMARK(BM_DrawTransparent);
BENCHMARK(BM_DrawAdd);
BENCHMARK(BM_DrawSubtract);
BENCHMARK(BM_DrawAddScaled);
BENCHMARK(BM_DrawBlend);
BENCHMARK(BM_DrawFaded);
BENCHMARK(BM_DrawStretched);
BENCHMARK(BM_ScaleInPlace);
BENCHMARK(BM_EmbossTo80x60);
