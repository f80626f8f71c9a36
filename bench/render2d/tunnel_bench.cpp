// One tunnel frame without the logo: the table lookup, ten flares and the relief window.
#include <benchmark/benchmark.h>

#include <array>

#include "bench_screens.h"
#include "render2d/filter_window.h"
#include "render2d/flare.h"
#include "render2d/tunnel_kernel.h"
#include "render2d/tunnel_table.h"

namespace {

void BM_TunnelBackground(benchmark::State& state) {
    std::vector<std::uint16_t> table(kScreenPixels);
    for (int i = 0; i < kScreenPixels; ++i) table[i] = static_cast<std::uint16_t>(i * 40503u);
    std::vector<Pixel> texture = randomScreen(4);
    texture.resize(kTextureTexels);
    std::vector<Pixel> screen(kBenchPixels);
    unsigned offset = 0;
    for (auto _ : state) {
        offset += kTunnelRowStep - kTunnelTurnStep;
        drawTunnelBackground(screen.data(), table.data(), texture.data(), offset);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kScreenPixels);
}

void BM_TunnelFrame(benchmark::State& state) {
    std::vector<std::uint16_t> table(kScreenPixels);
    for (int i = 0; i < kScreenPixels; ++i) table[i] = static_cast<std::uint16_t>(i * 40503u);
    std::vector<Pixel> texture = randomScreen(4);
    texture.resize(kTextureTexels);
    std::vector<Pixel> flarePicture = randomScreen(5);
    flarePicture.resize(kFlareSide * kFlareSide);
    for (Pixel& p : flarePicture) p &= 0x003F3F3Fu;
    std::array<Flare, 10> flares;
    for (int i = 0; i < 10; ++i)
        flares[i] = Flare(220.0f + 12.0f * i, 0.7f * i, -300.0f + 40.0f * i, flarePicture.data());
    std::vector<Pixel> screen(kBenchPixels);
    const Bitmap whole(screen.data(), kBenchWidth, kBenchHeight);
    unsigned offset = 0;
    for (auto _ : state) {
        offset += kTunnelRowStep - kTunnelTurnStep;
        drawTunnelBackground(screen.data(), table.data(), texture.data(), offset);
        for (Flare& flare : flares) flare.step(screen.data());
        FilterWindow relief(whole, 20, 120, 80, 60);
        relief.embossTo(screen.data(), kBenchWidth, kBenchHeight, 20, 120);
        relief.drawFrame(screen.data(), kBenchWidth, kBenchHeight, 20, 120, 0, 0, 128);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_TunnelBackground);
BENCHMARK(BM_TunnelFrame);
