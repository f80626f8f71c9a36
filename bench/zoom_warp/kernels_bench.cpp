// The zoomer's draw at two depths, and the warps' per-pixel passes: the span walks the effects
// run beside the plain mask-then-pick passes they replace.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "imagelib/bgl_image.h"
#include "render2d/sprite_zoomer.h"
#include "render2d/warp_mix.h"
#include "render2d/zoom_mask.h"

namespace {

std::vector<Pixel> randomPixels(int count, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<Pixel> pixels(count);
    for (Pixel& p : pixels) p = random() & 0x00FFFFFFu;
    return pixels;
}

bglimage* randomPicture(int width, int height, std::uint32_t seed) {
    bglimage* picture = bgl_create_image(static_cast<uint16_t>(width), static_cast<uint16_t>(height), 32, 0);
    const std::vector<Pixel> pixels = randomPixels(width * height, seed);
    std::copy(pixels.begin(), pixels.end(), reinterpret_cast<Pixel*>(picture->image));
    return picture;
}

std::vector<int> edgesAt(float t) {
    std::vector<int> edges(200);
    for (int r = 0; r < 200; ++r)
        edges[r] =
            static_cast<int>(t / 6.0 + 20.0 * std::sin(0.025 * t + 0.05 * r) + 10.0 * std::sin(0.1 * r));
    return edges;
}

void BM_DrawZoomed(benchmark::State& state) {
    SpriteZoomer zoomer;
    const std::vector<Pixel> picture = randomPixels(kZoomPictureSide * kZoomPictureSide, 1);
    std::vector<Pixel> screen(kScreenPixels);
    const int depth = static_cast<int>(state.range(0));
    for (auto _ : state) {
        zoomer.drawZoomed(screen.data(), picture.data(), 0, 0, depth, 200);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawZoomed)->Arg(256)->Arg(600);

void BM_ZoomMask(benchmark::State& state) {
    const std::vector<Pixel> mask = randomPixels(kScreenPixels, 2);
    const std::vector<Pixel> still = randomPixels(kScreenPixels, 3);
    std::vector<Pixel> frame(kScreenPixels);
    const bool plain = state.range(0) != 0;
    for (auto _ : state) {
        frame = still;
        if (plain)
            darkenByMaskPlain(frame.data(), mask.data(), 100);
        else
            darkenByMask(frame.data(), mask.data(), 100);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ZoomMask)->ArgName("plain")->Arg(0)->Arg(1);

// Edge in the middle of the screen: half one layer, the ramp, half the other.
void BM_WarpOverStill(benchmark::State& state) {
    bglimage* picture = randomPicture(640, 400, 4);
    RingWarp warp(picture);
    const std::vector<Pixel> still = randomPixels(kScreenPixels, 5);
    const std::vector<int> edges = edgesAt(960.0f);
    std::vector<Pixel> frame(kScreenPixels);
    const bool plain = state.range(0) != 0;
    float t = 0.0f;
    for (auto _ : state) {
        warp.setOffsets(warpOffsetsAt(t += 1.0f));
        if (plain) {
            writeEdgeMask(frame.data(), edges.data());
            warpOverStillPlain(frame.data(), warp, still.data());
        } else {
            warpOverStill(frame.data(), edges.data(), warp, still.data());
        }
        benchmark::ClobberMemory();
    }
    bgl_free_image(picture);
}
BENCHMARK(BM_WarpOverStill)->ArgName("plain")->Arg(0)->Arg(1);

void BM_WarpOverWarp(benchmark::State& state) {
    bglimage* pictureA = randomPicture(640, 400, 6);
    bglimage* pictureB = randomPicture(640, 400, 7);
    RingWarp warpA(pictureA), warpB(pictureB);
    const std::vector<int> edges = edgesAt(960.0f);
    std::vector<Pixel> frame(kScreenPixels);
    const bool plain = state.range(0) != 0;
    float t = 0.0f;
    for (auto _ : state) {
        t += 1.0f;
        warpA.setOffsets(warpOffsetsAt(t));
        warpB.setOffsets(warpOffsetsAt(t));
        if (plain) {
            writeEdgeMask(frame.data(), edges.data());
            warpOverWarpPlain(frame.data(), warpA, warpB);
        } else {
            warpOverWarp(frame.data(), edges.data(), warpA, warpB);
        }
        benchmark::ClobberMemory();
    }
    bgl_free_image(pictureA);
    bgl_free_image(pictureB);
}
BENCHMARK(BM_WarpOverWarp)->ArgName("plain")->Arg(0)->Arg(1);

} // namespace
