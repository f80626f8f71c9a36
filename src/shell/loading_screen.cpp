#include "shell/loading_screen.h"

#include <cstdint>

#include "effects/show_state.h"
#include "platform/console.h"
#include "platform/surface.h"
#include "resources/bitmap_font.h"

namespace {
constexpr int kBlockWidth = 8;
constexpr int kBlockHeight = 4;
constexpr int kBlockStep = 10;  // 2 columns of gap between blocks
constexpr int kBlueStep = 0x10; // darkest column black, then 16 more blue per column

void present(Console& console) {
    backSurface->copy(console);
    console.update();
}
} // namespace

void createSharedObjects() {
    // Created once for the whole run, like the back surface.
    if (!font) font = new BitmapFont("data/rel2.aff");
}

void drawLoadingScreen(Console& console) {
    present(console);
}

void drawProgress(Console& console, int* x, int row) {
    auto* pixels = static_cast<std::uint32_t*>(backSurface->lock());
    const int width = backSurface->width();
    for (int k = 0; k < kBlockWidth; ++k) {
        const int column = *x + k;
        if (column < 0 || column >= width) continue;
        for (int y = row; y < row + kBlockHeight && y < backSurface->height(); ++y)
            if (y >= 0) pixels[y * width + column] = static_cast<std::uint32_t>(kBlueStep * k);
    }
    *x += kBlockStep;
    backSurface->unlock();
    present(console);
}
