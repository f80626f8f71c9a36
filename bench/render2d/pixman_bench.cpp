// drawAdd and drawBlend beside pixman's ADD and OVER compositing of the same 320x200 a8r8g8b8
// pictures, to see how far the plain copies are from a SIMD library.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include "bench_screens.h"
#include "render2d/bitmap.h"

namespace {

constexpr int kStride = kBenchWidth * static_cast<int>(sizeof(Pixel));
constexpr Pixel kHalfAlpha = 0x80000000u; // OVER weighs the source by its own alpha

void runPixman(benchmark::State& state, pixman_op_t op, Pixel sourceAlpha) {
    std::vector<Pixel> source = randomScreen(1, sourceAlpha);
    std::vector<Pixel> screen = randomScreen(2);
    pixman_image_t* src =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kBenchWidth, kBenchHeight, source.data(), kStride);
    pixman_image_t* dst =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kBenchWidth, kBenchHeight, screen.data(), kStride);
    for (auto _ : state) {
        pixman_image_composite32(op, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kBenchWidth, kBenchHeight);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
    state.SetItemsProcessed(state.iterations() * kBenchPixels);
}

void BM_PixmanAdd(benchmark::State& state) {
    runPixman(state, PIXMAN_OP_ADD, 0);
}
void BM_PixmanOver(benchmark::State& state) {
    runPixman(state, PIXMAN_OP_OVER, kHalfAlpha);
}

void runOurs(benchmark::State& state, bool blend) {
    std::vector<Pixel> source = randomScreen(1);
    std::vector<Pixel> screen = randomScreen(2);
    const Bitmap bitmap(source.data(), kBenchWidth, kBenchHeight);
    for (auto _ : state) {
        if (blend)
            bitmap.drawBlend(screen.data(), kBenchWidth, kBenchHeight, 0, 0, 0.5f);
        else
            bitmap.drawAdd(screen.data(), kBenchWidth, kBenchHeight, 0, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBenchPixels);
}

void BM_OursAdd(benchmark::State& state) {
    runOurs(state, false);
}
void BM_OursBlend(benchmark::State& state) {
    runOurs(state, true);
}

} // namespace

BENCHMARK(BM_OursAdd);
BENCHMARK(BM_PixmanAdd);
BENCHMARK(BM_OursBlend);
BENCHMARK(BM_PixmanOver);
