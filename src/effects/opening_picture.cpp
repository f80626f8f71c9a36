#include "effects/opening_picture.h"

#include <algorithm>

#include "core/screen.h"
#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "effects/support/picture_prep.h"
#include "platform/surface.h"
#include "render2d/filter_window.h"

namespace {

constexpr float kFadePerHundredth = 0.0025f; // fully shown after four seconds
// The band: 50 columns wide, starting wholly off screen at the left, 62.5 pixels per second.
constexpr int kBandWidth = 50;
constexpr float kBandSpeed = 0.625f;
constexpr float kBandStart = -50.0f;
// Far enough off screen that the band draws nothing, and well inside an int.
constexpr float kBandFarOff = 1.0e6f;
constexpr int kFrameRed = 16;
constexpr int kFrameGreen = 32;
constexpr int kFrameBlue = 0;

} // namespace

void OpeningPicture::load() {
    picture = fetchScreenPicture("320girl2.jpg");
    bitmap = Bitmap(picture);
}

void OpeningPicture::start() {
    startTime = static_cast<int>(showTime);
    backSurface->clear(Color(0, 0, 0, 1));
    mode = kFadingIn;
    sweep.reset();
}

int OpeningPicture::bandColumn(float t) {
    return static_cast<int>(std::clamp(t * kBandSpeed + kBandStart, -kBandFarOff, kBandFarOff));
}

void OpeningPicture::render() {
    if (mode == kFadingIn && sweep.arrived()) {
        startTime = static_cast<int>(showTime);
        mode = kSweeping;
    }
    const float t = showTime - static_cast<float>(startTime);

    auto* screen = static_cast<Pixel*>(backSurface->lock());
    if (mode == kFadingIn) {
        bitmap.drawFaded(screen, kScreenWidth, kScreenHeight, 0, 0, t * kFadePerHundredth);
        logo.drawAdd(screen, kLogoLowerLeftX, kLogoLowerLeftY);
    } else {
        // The whole picture is laid again every frame, so the band leaves no trail.
        bitmap.draw(screen, kScreenWidth, kScreenHeight, 0, 0);
        const int band = bandColumn(t);
        FilterWindow window(Bitmap(screen, kScreenWidth, kScreenHeight), band, 0, kBandWidth, kScreenHeight);
        window.embossTo(screen, kScreenWidth, kScreenHeight, band, 0);
        window.drawFrame(screen, kScreenWidth, kScreenHeight, band, 0, kFrameRed, kFrameGreen, kFrameBlue);
        logo.drawAdd(screen, kLogoLowerLeftX, kLogoLowerLeftY);
    }
    backSurface->unlock();
}
