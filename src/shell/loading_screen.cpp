#include "shell/loading_screen.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "platform/console.h"
#include "platform/surface.h"
#include "render2d/bitmap.h"
#include "resources/bitmap_font.h"
#include "resources/image_cache.h"

namespace {
constexpr int kBlockWidth = 8;
constexpr int kBlockHeight = 4;
constexpr int kBlockStep = 10;  // 2 columns of gap between blocks
constexpr int kBlueStep = 0x10; // darkest column black, then 16 more blue per column

// The title card: two lines of text on a full-size black card, dimmed and shown at half size in
// the middle of the screen.
constexpr const char* kFirstLine = "LOADING";
constexpr int kFirstLineX = 80;
constexpr int kFirstLineY = 40;
constexpr const char* kSecondLine = "HALCYONVECTRUM";
constexpr int kSecondLineX = 8;
constexpr int kSecondLineY = 110;
constexpr float kCardDimming = 0.8f;
constexpr float kCardLeft = 80.0f;
constexpr float kCardTop = 50.0f;
constexpr float kCardRight = 240.0f;
constexpr float kCardBottom = 150.0f;

void present(Console& console) {
    backSurface->copy(console);
    console.update();
}
} // namespace

void createSharedObjects() {
    // Created once for the whole run, like the back surface.
    if (!imageCache) imageCache = new ImageCache();
    if (!font) font = new BitmapFont("data/rel2.aff");
    logo.load();
}

void renderLoadingScreen() {
    // Allocated once and kept for the run.
    static std::vector<Pixel> card(static_cast<std::size_t>(kScreenWidth) * kScreenHeight);
    std::fill(card.begin(), card.end(), 0u);
    if (font) {
        auto* bytes = reinterpret_cast<std::uint8_t*>(card.data());
        font->drawText(bytes, kScreenWidth, kScreenHeight, kFirstLine, kFirstLineX, kFirstLineY);
        font->drawText(bytes, kScreenWidth, kScreenHeight, kSecondLine, kSecondLineX, kSecondLineY);
    }
    const Bitmap titleCard(card.data(), kScreenWidth, kScreenHeight);
    titleCard.scaleInPlace(kCardDimming);

    auto* screen = static_cast<Pixel*>(backSurface->lock());
    titleCard.drawStretched(screen, kScreenWidth, kScreenHeight, kCardLeft, kCardTop, kCardRight,
                            kCardBottom);
    logo.drawAdd(screen, kLogoLowerLeftX, kLogoLowerLeftY);
    backSurface->unlock();
}

void drawLoadingScreen(Console& console) {
    renderLoadingScreen();
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
