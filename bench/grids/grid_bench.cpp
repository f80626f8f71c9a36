// The ray-cast grids' compute steps and block renderers, and the radial smear, on a 320x200 screen.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "imagelib/bgl_image.h"
#include "render2d/box_tunnel_grid.h"
#include "render2d/height_grid.h"
#include "render2d/radial_smear.h"
#include "render2d/tunnel_grid.h"
#include "render2d/twin_tunnel_grid.h"

namespace {

struct Texture {
    bglimage* image = bgl_create_image(kTextureSide, kTextureSide, 32, 0);
    Texture() {
        auto* texels = reinterpret_cast<Pixel*>(image->image);
        for (int i = 0; i < kTextureSide * kTextureSide; ++i) texels[i] = makePixel(i & 255, i >> 8, i * 7);
    }
    ~Texture() { bgl_free_image(image); }
};

void addThreeLights(LitGrid& grid) {
    grid.addLight(-100, -100, 300, 1.0f, 0.4f, 0.7f, 1.0f);
    grid.addLight(0, 0, 900, 0.0f, 1.0f, 0.5f, 1.0f);
    grid.addLight(0, 0, 600, 0.6f, 0.0f, 1.0f, 1.3f);
}

// A moving camera, so that every iteration computes fresh corners.
template <class Grid> void moveCamera(Grid& grid, int frame) {
    const float t = static_cast<float>(frame);
    grid.setPosition(std::sin(0.0125f * t) * 20, 0, 10 * t);
    grid.setAngles(std::sin(0.005f * t) * 0.3f, std::sin(0.00625f * t) * 0.5f, std::sin(t / 120) * 0.2f);
}

template <class Grid> void computeBench(benchmark::State& state, Grid& grid) {
    addThreeLights(grid);
    int frame = 0;
    for (auto _ : state) {
        moveCamera(grid, ++frame);
        grid.compute();
        benchmark::DoNotOptimize(grid.corners.data());
    }
}

void BM_TunnelGridCompute(benchmark::State& state) {
    Texture texture;
    TunnelGrid grid(texture.image, 100.0f);
    computeBench(state, grid);
}
BENCHMARK(BM_TunnelGridCompute);

void BM_TwinTunnelGridCompute(benchmark::State& state) {
    Texture texture;
    TwinTunnelGrid grid(texture.image, 0, -600, 800, 0, 600, 800);
    computeBench(state, grid);
}
BENCHMARK(BM_TwinTunnelGridCompute);

void BM_BoxTunnelGridCompute(benchmark::State& state) {
    Texture texture;
    BoxTunnelGrid grid(texture.image, 300.0f);
    computeBench(state, grid);
}
BENCHMARK(BM_BoxTunnelGridCompute);

void BM_HeightGridCompute(benchmark::State& state) {
    Texture texture;
    HeightGrid grid(texture.image);
    addThreeLights(grid);
    int frame = 0;
    for (auto _ : state) {
        const float c = static_cast<float>(++frame);
        for (int row = 0; row < kMeshRows; ++row)
            for (int column = 0; column < kMeshColumns; ++column)
                grid.point(row, column) = {(column - 22) * 11.9f, (row - 14) * 18.3f,
                                           0.25f + 0.25f * std::sin(0.3f * row + 0.2f * column + c / 20)};
        grid.compute();
        benchmark::DoNotOptimize(grid.corners.data());
    }
}
BENCHMARK(BM_HeightGridCompute);

enum class Write { Lit, Add, Masked };

void BM_GridDraw(benchmark::State& state) {
    Texture texture;
    TunnelGrid grid(texture.image, 100.0f);
    addThreeLights(grid);
    moveCamera(grid, 500);
    grid.compute();
    std::vector<Pixel> screen(kScreenPixels, 0);
    std::vector<Pixel> background(kScreenPixels, 0x00406080u);
    const auto write = static_cast<Write>(state.range(0));
    for (auto _ : state) {
        switch (write) {
            case Write::Lit:
                grid.drawLit(screen.data());
                break;
            case Write::Add:
                grid.drawLitAdd(screen.data());
                break;
            case Write::Masked:
                for (int i = 0; i < kScreenPixels; ++i) screen[i] = static_cast<Pixel>(i & 255);
                grid.drawLitMasked(screen.data(), background.data());
                break;
        }
        benchmark::DoNotOptimize(screen.data());
    }
    state.SetItemsProcessed(state.iterations() * kScreenPixels);
}
BENCHMARK(BM_GridDraw)->ArgName("lit0_add1_masked2")->Arg(0)->Arg(1)->Arg(2);

void BM_RadialSmearApply(benchmark::State& state) {
    RadialSmear smear;
    smear.buildOffsets(160, 100, 229376);
    std::vector<Pixel> buffer(kScreenPixels);
    for (int i = 0; i < kScreenPixels; ++i) buffer[i] = static_cast<Pixel>(i * 2654435761u);
    for (auto _ : state) {
        smear.apply(buffer.data());
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetItemsProcessed(state.iterations() * kScreenPixels);
}
BENCHMARK(BM_RadialSmearApply);

} // namespace
