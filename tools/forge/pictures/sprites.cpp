// The additive sprites: the zooming pictures and the tunnel's flare. Bright shapes that fall off
// to pure black well inside their edges, so no square outline shows when they are added.
#include "forge/pictures/picture_makers.h"
#include "forge/pictures/space_painter.h"

#include <algorithm>
#include <cmath>

namespace forge {

namespace {

constexpr int kSpriteSize = 512;
constexpr int kFlareSize = 256;
constexpr float kCentre = kSpriteSize / 2.0f;

inline float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

Canvas galaxySprite(uint64_t seed, GalaxyStyle style, int stars) {
    Canvas canvas(kSpriteSize, kSpriteSize);
    const Noise noise(seed);
    Random random(seed + 1);
    addStars(canvas, random, StarStyle{stars, 0.8f, 0.5f, 40});
    addGalaxy(canvas, noise, style);
    fadeToBlackRound(canvas, 0.7f, 0.97f);
    return canvas;
}

} // namespace

Canvas makeZoomGalaxy() {
    GalaxyStyle style;
    style.cx = style.cy = kCentre;
    style.radius = 200;
    style.tilt = 0.35f;
    style.rotation = 0.4f;
    style.twist = 2.2f;
    style.brightness = 1.5f;
    return galaxySprite(401, style, 250);
}

// A chrome halo: a bright ring with fine radial striations and sparkles, in grey.
Canvas makeZoomHalo() {
    Canvas canvas(kSpriteSize, kSpriteSize);
    const Noise noise(411);
    Random random(412);
    constexpr float kRing = 165, kWidth = 14;
    for (int y = 0; y < kSpriteSize; ++y)
        for (int x = 0; x < kSpriteSize; ++x) {
            const float dx = x + 0.5f - kCentre, dy = y + 0.5f - kCentre;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float angle = std::atan2(dy, dx) / (2 * kPi) + 0.5f;
            const float striation = noise.ridged(angle * 64, r / 40, 3, 64);
            const float across = (r - kRing) / kWidth;
            const float ring = std::exp(-across * across) * (0.5f + 0.9f * striation);
            const float inner = 0.35f * std::exp(-std::pow((r - kRing + 40) / 55, 2.0f));
            const float rays = 0.25f * std::pow(clamp01(noise.fbm(angle * 32, 0.5f, 3, 32) + 0.3f), 3.0f) *
                               std::exp(-std::fabs(r - kRing) / 60);
            canvas.at(x, y) = Colour{1, 1, 1} * (ring * 1.3f + inner + rays);
        }
    for (int i = 0; i < 24; ++i) {
        const float a = random.range(0, 2 * kPi);
        addStar(canvas, kCentre + kRing * std::cos(a), kCentre + kRing * std::sin(a),
                random.range(0.3f, 1.4f), Colour{1, 1, 1}, 0.8f);
    }
    addGlow(canvas, kCentre, kCentre, 30, Colour{0.5f, 0.5f, 0.5f}, 4);
    fadeToBlackRound(canvas, 0.8f, 0.97f);
    return canvas;
}

// A gold starburst: hot core, rays of varying length, a scatter of sparks.
Canvas makeZoomStarburst() {
    Canvas canvas(kSpriteSize, kSpriteSize);
    const Noise noise(421);
    Random random(422);
    for (int y = 0; y < kSpriteSize; ++y)
        for (int x = 0; x < kSpriteSize; ++x) {
            const float dx = x + 0.5f - kCentre, dy = y + 0.5f - kCentre;
            const float r = std::sqrt(dx * dx + dy * dy) / kCentre;
            const float angle = std::atan2(dy, dx) / (2 * kPi) + 0.5f;
            const float length = 0.25f + 0.6f * clamp01(0.5f + noise.fbm(angle * 48, 0.5f, 3, 48));
            const float ray = std::pow(clamp01(0.5f + 0.8f * noise.gradient(angle * 160, 3.5f, 160)), 4.0f);
            const float rays = ray * std::exp(-r / (0.35f * length)) * 1.6f;
            const Colour tint = mix(hex(0xFFF0C8), hex(0xFF9A3C), clamp01(r * 1.6f));
            canvas.at(x, y) = tint * rays;
        }
    addGlow(canvas, kCentre, kCentre, 40, hex(0xFFD890), 5);
    addGlow(canvas, kCentre, kCentre, 10, hex(0xFFFFFF) * 1.5f, 4);
    for (int i = 0; i < 60; ++i) {
        const float a = random.range(0, 2 * kPi), d = 40 + 170 * std::pow(random.uniform(), 0.7f);
        addStar(canvas, kCentre + d * std::cos(a), kCentre + d * std::sin(a), random.range(0.2f, 0.9f),
                hex(0xFFE0A0), 0);
    }
    fadeToBlackRound(canvas, 0.75f, 0.97f);
    return canvas;
}

// A deep field: dozens of small galaxies of every tilt among faint stars.
Canvas makeDeepField() {
    Canvas canvas(kSpriteSize, kSpriteSize);
    const Noise noise(431);
    Random random(432);
    addStars(canvas, random, StarStyle{500, 0.7f, 0.6f, 30});
    constexpr Colour kArmColours[] = {hex(0x7FA6FF), hex(0xB08CFF), hex(0xFFD8A0), hex(0x9FE0FF)};
    for (int i = 0; i < 70; ++i) {
        GalaxyStyle g;
        g.cx = random.range(60, kSpriteSize - 60);
        g.cy = random.range(60, kSpriteSize - 60);
        g.radius = 6 + 46 * std::pow(random.uniform(), 3.0f);
        g.tilt = random.range(0, 1.4f);
        g.rotation = random.range(0, kPi);
        g.arms = 2 + int(random.uniform() * 2);
        g.arm = kArmColours[random.next() % 4];
        g.brightness = random.range(0.6f, 1.3f);
        addGalaxy(canvas, noise, g);
    }
    fadeToBlackRound(canvas, 0.7f, 0.97f);
    return canvas;
}

Canvas makeTiltedGalaxy() {
    GalaxyStyle style;
    style.cx = style.cy = kCentre;
    style.radius = 215;
    style.tilt = 1.2f;
    style.rotation = -0.55f;
    style.twist = 3.0f;
    style.arm = hex(0x8FA0FF);
    style.knots = hex(0xFF8FE0);
    style.brightness = 1.6f;
    return galaxySprite(441, style, 200);
}

// A young cluster: a handful of hot blue stars wrapped in the blue gas they light.
Canvas makeStarCluster() {
    Canvas canvas(kSpriteSize, kSpriteSize);
    const Noise noise(451);
    Random random(452);
    NebulaStyle gas;
    gas.scale = 3.0f;
    gas.threshold = -0.45f;
    gas.intensity = 2.4f;
    gas.gamma = 1.0f;
    addNebula(
        canvas, noise, gas,
        [](float t, float u) { return mix(hex(0x1E3AA8), hex(0x8FC8FF), t) * (0.5f + 0.7f * u); },
        [](float x, float y) {
            const float dx = x - 0.5f, dy = y - 0.5f;
            return std::max(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy) * 2.1f);
        });
    for (int i = 0; i < 9; ++i) {
        const float a = random.range(0, 2 * kPi), d = 120 * std::sqrt(random.uniform());
        addStar(canvas, kCentre + d * std::cos(a), kCentre + d * std::sin(a), random.range(1.0f, 2.2f),
                hex(0xD8E6FF), 1.0f);
    }
    addStars(canvas, random, StarStyle{300, 0.6f, 0.4f, 60});
    fadeToBlackRound(canvas, 0.6f, 0.97f);
    return canvas;
}

Canvas makeSpiralGalaxy() {
    GalaxyStyle style;
    style.cx = style.cy = kCentre;
    style.radius = 190;
    style.tilt = 0.1f;
    style.arms = 3;
    style.twist = 1.8f;
    style.arm = hex(0xA88CFF);
    style.core = hex(0xFFF0D0);
    style.brightness = 1.5f;
    return galaxySprite(461, style, 250);
}

// The tunnel's flare: a blue-white glow, soft all the way to black at its edges.
Canvas makeFlare() {
    Canvas canvas(kFlareSize, kFlareSize);
    const float c = kFlareSize / 2.0f;
    addGlow(canvas, c, c, 26, hex(0x8FB8FF), 4.6f);
    addGlow(canvas, c, c, 9, hex(0xFFFFFF) * 1.2f, 4.0f);
    return canvas;
}

} // namespace forge
