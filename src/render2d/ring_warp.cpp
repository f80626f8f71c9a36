#include "render2d/ring_warp.h"

#include "core/portable_math.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr Pixel kBlack = 0;

// wave: a parabola over 127 .. -128, from 31 down to -32 at the middle and up to 32.
constexpr int kWaveTop = 127;
constexpr float kWaveUnit = 0.0078125f; // 1 / 128
constexpr float kWaveDepth = 64.0f;
constexpr float kWaveLift = 32.0f;

// rings: distance from the table's centre, bent by a ten-fold and a fifteen-fold ripple.
constexpr int kRingsCentreX = kRingsWidth / 2;
constexpr int kRingsCentreY = kRingsHeight / 2;
constexpr double kRippleA = 40.584509359066445;
constexpr double kRippleB = 12.175352807719934;
constexpr double kFoldsA = 10.0;
constexpr double kFoldsB = 15.0;
constexpr int kByteMask = 0xFF;

// One coordinate of a wandering point: trunc(wave * swing + centre).
int wander(float wave, float swing, float centre) {
    return static_cast<int>(wave * swing + centre);
}

// Far outside any picture, yet small enough that index arithmetic cannot overflow.
constexpr int kMaxPictureOffset = 1 << 24;

int placeAt(int row, int column) {
    return row * kWarpPictureWidth + column;
}

} // namespace

WarpOffsets warpOffsetsAt(float t) {
    using pmath::cos, pmath::sin;
    if (!std::isfinite(t)) t = 0.0f;
    WarpOffsets o;
    o.pictureOffset =
        placeAt(wander(cos(0.00625f * t + 0.5f), 50.0f, 100.0f), wander(sin(0.005f * t), 90.0f, 200.0f));
    o.ringOffset1 = placeAt(wander(cos(0.0125f * t + 0.9f), 90.0f, 100.0f),
                            wander(sin(t / 120.0f + 1.1f), 120.0f, 160.0f));
    o.ringOffset2 = placeAt(wander(cos(0.01f * t + 0.2f), 90.0f, 100.0f),
                            wander(sin(0.0125f * t + 2.1f), 120.0f, 160.0f));
    o.ringOffset3 = placeAt(wander(cos(t / 60.0f + 1.6f), 90.0f, 100.0f),
                            wander(sin(0.0125f * t + 0.1f), 120.0f, 160.0f));
    return o;
}

RingWarp::RingWarp(const bglimage* picture_) : picture(picture_), rings(kRingsSize) {
    const bool usable = picture != nullptr && picture->image != nullptr &&
                        picture->bits_per_pixel == kScreenDepth && picture->width > 0 && picture->height > 0;
    if (usable) {
        pixels = reinterpret_cast<const Pixel*>(picture->image);
        lastPixel = static_cast<int>(std::min<long long>(
            static_cast<long long>(picture->width) * picture->height - 1, std::numeric_limits<int>::max()));
    } else {
        pixels = &kBlack;
        lastPixel = 0;
    }

    for (int k = 0; k < kWaveProfile; ++k) {
        const float n = static_cast<float>(std::abs(kWaveTop - k)) * kWaveUnit;
        wave[k] = static_cast<std::int8_t>(n * n * kWaveDepth - kWaveLift);
    }
    for (int copy = 1; copy < kWaveSize / kWaveProfile; ++copy)
        std::copy(wave, wave + kWaveProfile, wave + copy * kWaveProfile);

    for (int i = 0; i < kRingsHeight; ++i) {
        const int b = i - kRingsCentreY;
        for (int j = 0; j < kRingsWidth; ++j) {
            const int c = j - kRingsCentreX;
            // On the centre column the angle is taken as atan2(2b, 1): just short of a quarter turn.
            const double theta = c == 0 ? pmath::atan2(2.0 * b, 1.0) : pmath::atan2(double(b), double(c));
            const double value = std::sqrt(double(b * b + c * c)) + kRippleA * pmath::cos(kFoldsA * theta) +
                                 kRippleB * pmath::sin(kFoldsB * theta);
            rings[i * kRingsWidth + j] = static_cast<std::uint8_t>(static_cast<int>(value) & kByteMask);
        }
    }
}

void RingWarp::setOffsets(const WarpOffsets& offsets) {
    pictureOffset = std::clamp(offsets.pictureOffset, -kMaxPictureOffset, kMaxPictureOffset);
    ringOffset1 = std::clamp(offsets.ringOffset1, kMinRingOffset, kMaxRingOffset);
    ringOffset2 = std::clamp(offsets.ringOffset2, kMinRingOffset, kMaxRingOffset);
    ringOffset3 = std::clamp(offsets.ringOffset3, kMinRingOffset, kMaxRingOffset);
}
