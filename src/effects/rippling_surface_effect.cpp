#include "effects/rippling_surface_effect.h"

#include <cmath>

#include "core/portable_math.h"
#include "core/screen.h"
#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "effects/support/picture_prep.h"
#include "platform/surface.h"
#include "render2d/grid_fixed.h"

namespace {

// The labels' texts: entries 0 to 17, then blanks for 18 to 20 and 29.
constexpr const char* kLabelTexts[18] = {"RGB", "HEX", "XOR", "FPS", "BPM", "ION", "ARC", "ORB", "RAY",
                                         "LUX", "VOX", "AMP", "NEO", "ZEN", "SYN", "HUE", "DSP", "EOF"};
constexpr const char* kBlankText = "   ";
constexpr int kLabelX = 200;
constexpr int kLabelTop = 10;
constexpr int kLabelSpacing = 50;
constexpr int kLogoX = 10;
constexpr int kLogoY = 10;

// The spray covers the screen from this column on; its marked pixels (blue byte not 0) take
// its colour shaded by the inverse of the surface's green.
constexpr int kSprayFirstColumn = 30;

// Mesh spacing: 43 columns across the 512-unit width, 28 rows of 18.285 units.
constexpr double kMeshColumnSpacing = 11.906511627906976;
constexpr double kMeshRowSpacing = 18.285;
constexpr int kMeshCentreColumn = 22;
constexpr int kMeshCentreRow = 14;
constexpr int kRingCentreColumn = 21;
// Folded byte heights (|127 - b|, 0 to 127) scaled to 0 .. 0.5.
constexpr double kHeightScale = 0.003906402593851322;

// The low 8 bits of trunc(v), 0 to 255: the wrapped sums fold into repeating ridges.
int lowByte(double v) {
    return toWrappedFixed(v) & 0xFF;
}

} // namespace

void RipplingSurfaceEffect::load() {
    bglimage* galaxy = prepareTexture("galakse.jpg");
    bglimage* sprayPicture = fetchScreenPicture("sprayb3.pcx");
    build(galaxy, sprayPicture);
}

void RipplingSurfaceEffect::build(bglimage* texture_, bglimage* spray_) {
    texture = texture_;
    surface = std::make_unique<HeightGrid>(texture);
    surface->addLight(0, 0, 0, 1.0f, 1.0f, 0.0f, 2.0f);
    surface->addLight(0, 0, 0, 0.0f, 1.0f, 1.0f, 2.0f);
    surface->addLight(0, 0, 0, 1.0f, 1.0f, 0.6f, 2.2f);
    spray = spray_;
    sprayScreen.assign(spray);
    for (int i = 0; i < 18; ++i) labels[i] = makeTextPicture(kLabelTexts[i]);
    for (int i : {18, 19, 20, kBlankLabel}) labels[i] = makeTextPicture(kBlankText);
    slots = {kBlankLabel, kBlankLabel, kBlankLabel};
}

void RipplingSurfaceEffect::start() {
    startTime = static_cast<int>(showTime);
    events = -1;
    labelChanges.reset();
    nextShown = 0;
    nextBlanked = 1;
}

void RipplingSurfaceEffect::moveSurface(float c) {
    const float d = c / 60.0f;
    GridLight& light0 = *surface->lights[0];
    GridLight& light1 = *surface->lights[1];
    GridLight& light2 = *surface->lights[2];
    light0.x = 20.0f * pmath::sin(c / 76.0f);
    light0.y = 26.0f * pmath::cos(c / 98.0f);
    light0.z = -8.0f;
    light1.x = 36.0f * pmath::cos(c / 54.0f);
    light1.y = 16.0f * pmath::sin(c / 78.0f);
    light1.z = -8.0f;
    light2.x = 24.0f * pmath::sin(c / 54.0f + 1.6f) + 6.0f;
    light2.y = 20.0f * pmath::cos(d + 2.0f) + 3.0f;
    light2.z = -8.0f;

    for (int j = 0; j < kMeshRows; ++j) {
        const double w = 32.0 * pmath::cos(0.3624914596153847 * j + c / 84.0);
        for (int n = 0; n < kMeshColumns; ++n) {
            const int l = kRingCentreColumn - n;
            const double r = std::sqrt(double((j - kMeshCentreRow) * (j - kMeshCentreRow) + l * l));
            const int b1 = lowByte(pmath::sin(0.15324842195121952 * n + 0.4 * c) + j + c);
            const int b2 = lowByte(b1 + w);
            const int b3 = lowByte(b2 + 64.0 * pmath::sin(r / 4.0 - d) + c);
            const int b4 = lowByte(b3 + 64.0 * pmath::sin(r / 7.0 - 0.025 * c + 0.8));
            surface->point(j, n) = {static_cast<float>((n - kMeshCentreColumn) * kMeshColumnSpacing),
                                    static_cast<float>((j - kMeshCentreRow) * kMeshRowSpacing),
                                    static_cast<float>(std::abs(127 - b4) * kHeightScale)};
        }
    }
    surface->compute();
}

void RipplingSurfaceEffect::followSync() {
    if (!labelChanges.arrived()) return;
    ++events;
    // Even events show the next label in the next place; odd ones blank a place, one behind.
    if (events % 2 == 0) {
        slots[nextShown % kPlaces] = (events / 2) % kShownLabels;
        ++nextShown;
    } else {
        slots[nextBlanked % kPlaces] = kBlankLabel;
        ++nextBlanked;
    }
}

void RipplingSurfaceEffect::drawFrame(Pixel* screen) const {
    surface->drawLit(screen);

    for (int y = 0; y < kScreenHeight; ++y) {
        Pixel* row = screen + y * kScreenWidth;
        const Pixel* sprayRow = sprayScreen.pixels() + y * kScreenWidth;
        for (int x = kSprayFirstColumn; x < kScreenWidth; ++x) {
            const Pixel s = sprayRow[x];
            if (blueOf(s) == 0) continue;
            const int m = kChannelMax - greenOf(row[x]);
            row[x] = (row[x] & kFourthByteMask) |
                     makePixel((redOf(s) * m) >> 8, (greenOf(s) * m) >> 8, (blueOf(s) * m) >> 8);
        }
    }

    // The labels darken the picture.
    for (int i = 0; i < kPlaces; ++i)
        labels[slots[i]].bitmap.drawSubtract(screen, kScreenWidth, kScreenHeight, kLabelX,
                                             kLabelTop + kLabelSpacing * i);
    logo.drawAdd(screen, kLogoX, kLogoY);
}

void RipplingSurfaceEffect::render() {
    const float c = showTime - static_cast<float>(startTime);
    moveSurface(c);
    followSync();
    auto* screen = static_cast<Pixel*>(backSurface->lock());
    drawFrame(screen);
    backSurface->unlock();
}
