#include "effects/credits_effect.h"

#include <algorithm>
#include <cmath>

#include "core/portable_math.h"
#include "core/screen.h"
#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "effects/support/picture_prep.h"
#include "platform/surface.h"

namespace {

constexpr float kCorridorRadius = 300.0f;

// The flower: distances from (100, 120), 1.6 times stretched vertically, with a rim of eight
// large and sixteen small waves; it grows one table unit per 3 hundredths of a second and has
// a soft edge 31 units wide.
constexpr int kFlowerCentreColumn = 100;
constexpr int kFlowerCentreRow = 120;
constexpr float kFlowerStretchSquared = 2.56f;
constexpr double kFlowerGrowth = 3.0;
constexpr double kFlowerEdge = 31.0;
constexpr double kFlowerEdgeSlope = 8.0;
constexpr Pixel kMaskFull = 255;

// Credit lines: x, the four line heights, and the pattern length the fades assume (rows 0-63).
constexpr int kTextX = 8;
constexpr int kLineY[4] = {10, 60, 110, 160};
constexpr float kPatternLastRow = 63.0f;
constexpr float kLastNameRows = 32.0f;

// Where the slide picture and the logo stand on each page.
constexpr float kSlideInStep = 2.1875f; // pixels per row, from the right edge
constexpr float kLogoWalkStep = 3.4375f;
constexpr int kSlideX = 180;
constexpr int kLogoX = 230;
constexpr int kLogoY = 170;
constexpr int kExitRow = 32;
constexpr float kSlideExitStep = 5.2f;
constexpr float kLogoExitStep = 5.0f;

enum Text { Code, Quasper, Blem, Bramt, Graphics, DuskWell, Music, Oktavin };
constexpr const char* kTexts[CreditsEffect::kTextCount] = {"[CODE]",     "QUASPER",   "BLEM",    "BRAMT",
                                                           "[GRAPHICS]", "DUSK-WELL", "[MUSIC]", "OKTAVIN"};

enum class Fade { Out, Full, In, InByHalfPattern };
struct CreditLine {
    Text text;
    int line; // 0 to 3, top to bottom
    Fade fade;
};
constexpr int kMaxLines = 3;
struct CreditStep {
    int count;
    CreditLine lines[kMaxLines]; // drawn in this order: fading out, full, fading in
};

// Pages 2 and 3, by music position mod 4.
constexpr CreditStep kMakersPage[4] = {
    {1, {{Code, 0, Fade::In}}},
    {2, {{Code, 0, Fade::Full}, {Quasper, 1, Fade::In}}},
    {3, {{Code, 0, Fade::Out}, {Quasper, 1, Fade::Full}, {Blem, 2, Fade::In}}},
    {3, {{Quasper, 1, Fade::Out}, {Blem, 2, Fade::Full}, {Bramt, 3, Fade::In}}},
};
constexpr CreditStep kArtistsPage[4] = {
    {3, {{Blem, 2, Fade::Out}, {Bramt, 3, Fade::Full}, {Graphics, 0, Fade::In}}},
    {3, {{Bramt, 3, Fade::Out}, {Graphics, 0, Fade::Full}, {DuskWell, 1, Fade::In}}},
    {3, {{Graphics, 0, Fade::Out}, {DuskWell, 1, Fade::Full}, {Music, 2, Fade::In}}},
    {3, {{DuskWell, 1, Fade::Out}, {Music, 2, Fade::Full}, {Oktavin, 3, Fade::InByHalfPattern}}},
};

int positionInFour() {
    return ((musicPosition % 4) + 4) % 4;
}

// The page's lines for the current music position and row.
void drawCredits(const std::array<TextPicture, CreditsEffect::kTextCount>& texts, const CreditStep& step,
                 Pixel* screen) {
    const float row = static_cast<float>(musicRow);
    for (int i = 0; i < step.count; ++i) {
        const CreditLine& line = step.lines[i];
        const Bitmap& bitmap = texts[line.text].bitmap;
        const int y = kLineY[line.line];
        switch (line.fade) {
            case Fade::Full:
                bitmap.drawTransparent(screen, kScreenWidth, kScreenHeight, kTextX, y);
                break;
            case Fade::In:
                bitmap.drawAddScaled(screen, kScreenWidth, kScreenHeight, kTextX, y, row / kPatternLastRow);
                break;
            case Fade::InByHalfPattern:
                bitmap.drawAddScaled(screen, kScreenWidth, kScreenHeight, kTextX, y, row / kLastNameRows);
                break;
            case Fade::Out:
                bitmap.drawAddScaled(screen, kScreenWidth, kScreenHeight, kTextX, y,
                                     1.0f - row / kPatternLastRow);
                break;
        }
    }
}

} // namespace

void CreditsEffect::load() {
    bglimage* corridorTexture = prepareTexture("pleisu2m.jpg");
    bglimage* portraitPicture = fetchScreenPicture("320girl2.jpg");
    bglimage* slide = fetchScreenPicture("corpse.pcx");
    build(corridorTexture, portraitPicture, slide);
}

void CreditsEffect::build(bglimage* texture_, bglimage* portrait_, bglimage* slidePicture_) {
    texture = texture_;
    grid = std::make_unique<BoxTunnelGrid>(texture, kCorridorRadius);
    grid->addLight(0, 0, 0, 0.1f, 0.3f, 1.0f, 1.3f);
    grid->addLight(0, 0, 0, 1.0f, 1.0f, 0.1f, 1.3f);
    grid->addLight(0, 0, 0, 0.4f, 0.4f, 0.4f, 1.2f);

    ringTable.resize(static_cast<size_t>(kScreenWidth) * kScreenHeight);
    for (int r = 0; r < kScreenHeight; ++r) {
        for (int c = 0; c < kScreenWidth; ++c) {
            const float v = static_cast<float>(r - kFlowerCentreRow);
            const float u = static_cast<float>(c - kFlowerCentreColumn);
            const float theta = pmath::atan2(u, v);
            ringTable[r * kScreenWidth + c] = static_cast<int>(
                std::sqrt(kFlowerStretchSquared * v * v + u * u) + 16.0f * (pmath::sin(8.0f * theta) + 1.0f) +
                8.0f * (pmath::cos(16.0f * theta) + 1.0f));
        }
    }

    // Ring values are distances plus a rim of at most 48: never negative.
    ringMasks.assign(static_cast<size_t>(*std::max_element(ringTable.begin(), ringTable.end())) + 1, 0);

    // The mask mixes the corridor with the portrait at every screen pixel, so the portrait is
    // read as a whole screen.
    portrait = portrait_;
    portraitScreen.assign(portrait);
    slidePicture = slidePicture_;
    slideBitmap = Bitmap(slidePicture);
    for (int i = 0; i < kTextCount; ++i) texts[i] = makeTextPicture(kTexts[i]);
}

void CreditsEffect::start() {
    startTime = static_cast<int>(showTime);
    phase = 0;
    pages.reset();
}

void CreditsEffect::moveCorridor(float d) {
    grid->setPosition(150.0f, 10.0f, (d + 1.0f) * 10.0f);
    grid->setAngles(pmath::sin(0.005f * d) * 0.3f, pmath::sin(0.00625f * d) * 0.5f + 0.2f,
                    pmath::sin(d / 120.0f) * 0.2f);
    grid->lights[0]->z = 10.0f * d + 1000.0f * pmath::sin(d / 60.0f);
    grid->lights[1]->z = 10.0f * d + 1000.0f * pmath::cos(d / 30.0f);
    grid->lights[2]->z = 10.0f * d + 500.0f * (pmath::sin(0.02f * d) + 1.0f);
    grid->compute();
}

void CreditsEffect::drawFrame(Pixel* screen, float d) {
    const float row = static_cast<float>(musicRow);
    switch (phase) {
        case 0: {
            // The flower mask in the blue bytes: corridor inside, portrait outside, a soft rim.
            // It depends on the ring value alone, so each value's mask is worked out once.
            const double e = d / kFlowerGrowth;
            for (size_t value = 0; value < ringMasks.size(); ++value) {
                const double f = static_cast<double>(value);
                if (f < e - kFlowerEdge)
                    ringMasks[value] = kMaskFull;
                else if (f < e)
                    ringMasks[value] = static_cast<Pixel>((e - f) * kFlowerEdgeSlope);
                else
                    ringMasks[value] = 0;
            }
            for (size_t i = 0; i < ringTable.size(); ++i)
                screen[i] = ringMasks[static_cast<size_t>(ringTable[i])];
            grid->drawLitMasked(screen, portraitScreen.pixels());
            logo.drawAdd(screen, kLogoLowerLeftX, kLogoLowerLeftY);
            break;
        }
        case 1:
            grid->drawLit(screen);
            slideBitmap.drawTransparent(screen, kScreenWidth, kScreenHeight,
                                        static_cast<int>(kScreenWidth - row * kSlideInStep), 0);
            logo.drawAdd(screen, static_cast<int>(row * kLogoWalkStep + kLogoLowerLeftX), kLogoY);
            break;
        case 2:
            grid->drawLit(screen);
            drawCredits(texts, kMakersPage[positionInFour()], screen);
            slideBitmap.drawTransparent(screen, kScreenWidth, kScreenHeight, kSlideX, 0);
            logo.drawAdd(screen, kLogoX, kLogoY);
            break;
        case 3: {
            grid->drawLit(screen);
            const int position = positionInFour();
            drawCredits(texts, kArtistsPage[position], screen);
            // In the page's last pattern, from row 33 on, the picture leaves to the left and the
            // logo upwards.
            float slideX = kSlideX, logoY = kLogoY;
            if (position == 3 && musicRow > kExitRow) {
                slideX = kSlideX - (row - kExitRow) * kSlideExitStep;
                logoY = kLogoY - (row - kExitRow) * kLogoExitStep;
            }
            slideBitmap.drawTransparent(screen, kScreenWidth, kScreenHeight, static_cast<int>(slideX), 0);
            logo.drawAdd(screen, kLogoX, static_cast<int>(logoY));
            break;
        }
        default:
            break; // after the last page the screen keeps the last frame
    }
}

void CreditsEffect::render() {
    if (pages.arrived()) ++phase;
    const float d = showTime - static_cast<float>(startTime);
    moveCorridor(d);
    auto* screen = static_cast<Pixel*>(backSurface->lock());
    drawFrame(screen, d);
    backSurface->unlock();
}
